# DC waves of the analytical model at a planar electrode, compared with the textbook
# (mechanism 1, A + e = B, E0' = 0.1 V, 1 mM A, no B (pre-equilibration off), D = 1e-5 cm2/s,
# 1 cm2, 25 C, drop time 1 s, 1 mV steps). Each point is the current sampled td after a step
# from rest, which is exact at a planar electrode for any rate constant (Koutecky).
#
# Textbook values, by hand with f = F/RT = 38.9230 /V:
#   Cottrell at the drop time: nFAC sqrt(D / (pi td)) = 96484.6 x 1e-6 x sqrt(1e-5 / pi)
#   = 1.721405e-4 A.
#   Reversible wave: I = Id / (1 + exp(f (E - E1/2))), E1/2 = E0' with equal D: 8.607025e-5 A
#   at 0.1 V; 28 mV to either side f (E - E1/2) = +-1.0898: Id / (1 + 2.9737) = 4.331875e-5 A
#   at 0.128 V and Id x 2.9737 / 3.9737 = 1.288218e-4 A at 0.072 V.
#   Slow transfer, ks = 1e-5 cm/s, alpha = 0.5: I = Id sqrt(pi) x exp(x^2) erfc(x),
#   x = kf sqrt(td / D), kf = ks exp(-alpha f (E - E0')); half the limit at x = 0.432752, so
#   E1/2 = E0' + ln(2.310794 ks sqrt(td / D)) / (alpha f) = -0.15275 V; by erfc at -0.152 V
#   x = 0.42651, I = 8.528503e-5 A; at -0.153 V x = 0.43490, I = 8.633180e-5 A.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuTech
click FormTech.optTech(2)
menu mnuInstrument
set FormIns.Estep 0.001
set FormIns.td 1
menu mnuSimulate
model DropTime
# Limit at -0.3 V: 1.7214047e-4 A against Cottrell 1.721405e-4 A.
model PotentialX(601)
model CurrentY(601,1)
# The wave: 4.331875e-5, 8.607025e-5, 1.288217e-4 A, as the textbook.
model PotentialX(173)
model CurrentY(173,1)
model PotentialX(201)
model CurrentY(201,1)
model PotentialX(229)
model CurrentY(229,1)
# E1/2 = 0.1 V and Id = 1.7214E-4 A found, and printed by the theoretical values (the
# irreversible line does not apply to ks = 1e4 cm/s).
menu mnuFindHalfwaveE
menu mnuTheoPeak
result
echo slow electron transfer, ks = 1e-5 cm/s, to -0.6 V
set FormIns.Eend -0.6
set FormExpr.ks(1) 1e-5
menu mnuSimulate
model NumberOfPoints
# Still the Cottrell limit at -0.6 V (x = 2609): 1.7214048e-4 A.
model PotentialX(901)
model CurrentY(901,1)
# 8.528503e-5 A and 8.633180e-5 A, as the textbook; the first point past half the limit is
# -0.153 V, next to the textbook E1/2 = -0.15275 V.
model PotentialX(453)
model CurrentY(453,1)
model PotentialX(454)
model CurrentY(454,1)
menu mnuFindHalfwaveE
result
