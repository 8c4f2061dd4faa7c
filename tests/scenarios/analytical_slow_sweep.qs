# A linear sweep with slow electron transfer (mechanism 1, A + e = B, ks = 1e-5 cm/s,
# alpha = 0.5, E0' = 0.1 V, 1 mM A, no B (pre-equilibration off), D = 1e-5 cm2/s, 1 cm2, 25 C,
# 0.1 V/s, 1 mV steps, 0.5 V to -0.5 V).
#
# The analytical sweep solves the convolution integral equation of planar diffusion with
# Butler-Volmer kinetics at every point, so it reproduces the textbook irreversible peak
# 0.4958 nFAC sqrt(alpha f v D) = 2.11034e-4 A at E0' - (0.78 + ln(sqrt(D alpha f v) / ks)) /
# (alpha f) = -0.2530 V, which the theoretical values print as well.
#
# Independent values (the same integral equation solved by a separate program with the flux
# constant over 0.1 and 0.05 mV steps, extrapolated to zero step): 6.6495e-6 A at 0 V (point
# 501), 6.2574e-5 A at -0.123 V (point 624), peak 2.1100e-4 A at -0.25298 V.
# Find Peak's width Ep/2 - Ep (first point at 0.95 x half the peak) comes out at 0.099 V; the
# textbook half-peak width 1.857 / (alpha f) = 0.0954 V is measured at exactly half the peak.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
set FormExpr.ks(1) 1e-5
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
