# A DC wave of the analytical model at a rotating disk, compared with the Levich equation
# (mechanism 1, A + e = B, ks = 1e4 cm/s, E0' = 0.1 V, 1 mM A, no B (pre-equilibration off),
# D = 1e-5 cm2/s, kinematic viscosity 0.01 cm2/s, 100 rpm, 25 C, 1 mV steps). The disk of
# radius 0.2821 cm gets the area pi r^2 = 0.250009 cm2, shown "2.5e-1" and used in full
# precision (the radius box keeps its 0.2821).
#
# Textbook values, by hand with f = F/RT = 38.9230 /V and omega = 100 pi / 30 = 10.47198 /s:
#   Levich plateau 0.62045 nFA D^(2/3) omega^(1/2) nu^(-1/6) C
#   = 0.62045 x 96484.6 x 0.250009 x 4.64159e-4 x 3.23604 x 2.15443 x 1e-6 = 4.843212e-05 A;
#   the reversible wave I = IL / (1 + exp(f (E - E1/2))), E1/2 = E0' (equal D):
#   IL / 2 = 2.421606e-05 A at 0.1 V and IL x 2.9737 / 3.9737 = 3.624395e-05 A at 0.072 V.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuTech
click FormTech.optTech(2)
menu mnuInstrument
click FormIns.optElectrode(8)
get FormIns.radius
get FormIns.ARE
get FormIns.TextRrate
set FormIns.Estep 0.001
menu mnuSimulate
model TechElectrodeCode
model ElectrodeArea
model RotationRate
model KinematicViscosity
# Plateau 4.8432297e-5 A against Levich 4.843212e-5 A.
model PotentialX(601)
model CurrentY(601,1)
# 2.4216150e-5 A and 3.6244427e-5 A, as the textbook.
model PotentialX(201)
model CurrentY(201,1)
model PotentialX(229)
model CurrentY(229,1)
# E1/2 = 0.1 V and the wave height 4.8431E-5 A, and the theoretical Levich current.
menu mnuFindHalfwaveE
menu mnuTheoPeak
result
# Ru = 1000 ohm, solved implicitly at every point (E = Eapp + Ru I): a steady current takes the
# whole drop, so the reversible wave keeps its plateau and moves by Ru IL / 2 = 24.216 mV, its
# half-height at 0.075784 V: 2.41469e-5 A at 0.076 V and 2.44672e-5 A at 0.075 V, which
# I = IL / (1 + exp(f (E + Ru I - E0'))) gives by hand.
set FormIns.txtRu 1000
menu mnuSimulate
model CurrentY(601,1)
model PotentialX(225)
model CurrentY(225,1)
model PotentialX(226)
model CurrentY(226,1)
menu mnuFindHalfwaveE
result
# A sweep at 5 mV/s (Ru back to 0): the steady wave of the same plateau, 4.8432297e-5 A at -0.3 V,
# and Theoretical Peak's line on how far the real sweep lags it: 9 % x s, s = (F v / RT)
# (D / k^2) = 0.19462 /s x 2.4806 s = 0.4828, 4.34 % (the digital simulation: 4.40 %).
set FormIns.txtRu 0
click FormTech.optTech(1)
set FormIns.V 0.005
menu mnuSimulate
model TechElectrodeCode
model CurrentY(601,1)
menu mnuTheoPeak
result
