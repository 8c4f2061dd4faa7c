# A linear sweep with slow electron transfer (mechanism 1, A + e = B, ks = 1e-5 cm/s,
# alpha = 0.5, E0' = 0.1 V, 1 mM A, no B (pre-equilibration off), D = 1e-5 cm2/s, 1 cm2, 25 C,
# 0.1 V/s, 1 mV steps, 0.5 V to -0.5 V).
#
# The analytical sweep is the semi-derivative of the currents sampled td = 0.01 s after a step
# to each potential. For a reversible couple that superposition is exact; for slow transfer it
# is an approximation, and it does not reproduce the textbook irreversible peak
# 0.4958 nFAC sqrt(alpha f v D) = 2.11034e-4 A at E0' - (0.78 + ln(sqrt(D alpha f v) / ks)) /
# (alpha f) = -0.2530 V, which the theoretical values print.
#
# The values to compare with are those of the superposition itself, computed independently
# (erfc from the standard library, the convolution term by term):
#   Y(k) = AF sqrt(pi h) kf C exp(x^2) erfc(x), x = (kf + kb) sqrt(td / D), h = 0.001 V,
#   T(k) = 2 / sqrt(pi h) (sum over m < k of w(k - m) Y(m) + Y(k)),
#   w(q) = sqrt(q + 1) - 2 sqrt(q) + sqrt(q - 1):
#   peak 2.2340027e-4 A at -0.323 V (1.0586 x the textbook peak, 70 mV beyond it);
#   1.6635096e-6 A at 0 V (point 501) and 1.7598844e-5 A at -0.123 V (point 624).
# Find Peak's width Ep/2 - Ep (first point at 0.95 x half the peak) comes out at 0.095 V,
# beside the textbook 1.857 / (alpha f) = 0.0954 V.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.Command1
menu mnuExperimental
click FormExpr.CheckPreEqu
set FormExpr.ks(1) 1e-5
activate MDIForm1
menu mnuInstrument
set FormIns.Estart 0.5
set FormIns.Eend -0.5
set FormIns.Estep 0.001
set FormIns.V 0.1
menu mnuSimulate
model DropTime
model NumberOfPoints
menu mnuFindPeak
model PeakPotential(1,1)
model PeakCurrent(1,1)
model PotentialX(501)
model CurrentY(501,1)
model PotentialX(624)
model CurrentY(624,1)
menu mnuTheoPeak
result
