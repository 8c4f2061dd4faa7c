# Reversible linear sweep and cyclic voltammograms of the analytical model, compared with the
# textbook (mechanism 1, A + e = B, ks = 1e4 cm/s, E0' = 0.1 V, 1 mM A, D = 1e-5 cm2/s for A
# and B, 1 cm2, 25 C, 0.1 V/s, 1 mV steps, 0.3 V to -0.3 V). Pre-equilibration is switched off
# so that the solution holds exactly 1 mM A and no B, as the textbook assumes.
#
# Textbook values, computed by hand with f = F/RT = 96484.6/(8.31441 x 298.14) = 38.9230 /V:
#   scale u = nFAC sqrt(nfvD) = 96484.6 x 1e-6 x sqrt(38.923 x 0.1 x 1e-5) = 6.01951e-4 A
#   Randles-Sevcik peak 0.4463 u = 2.68651e-4 A (1 %: 2.65964e-4 .. 2.71337e-4 A)
#   peak potential E1/2 - 1.109/f = 0.1 - 0.02849 = 0.07151 V (28.5 mV beyond E1/2)
#   the dimensionless current pi^1/2 chi of the Nicholson-Shain integral equation, solved
#   independently with 0.05 mV steps: 0.11831 at E1/2 + 50 mV, 0.22366 at + 28 mV, 0.38011 at
#   E1/2, 0.44629 at the peak, 0.31242 at E1/2 - 100 mV; times u: 7.1217e-5, 1.34632e-4,
#   2.28808e-4, 2.68645e-4, 1.88062e-4 A.
#   Cycle switched 400 mV beyond E1/2: anodic peak at E1/2 + 28.95 mV = 0.12895 V with
#   -0.34683 u = -2.08775e-4 A, current at the switching point 0.14376 u = 8.6537e-5 A; peak
#   separation 57.4 mV (57.0 mV = 2.218/f for a switch far beyond).
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
get FormExpr.Cinit(1)
get FormExpr.Cinit(2)
menu mnuInstrument
set FormIns.Estep 0.001
set FormIns.V 0.1
menu mnuSimulate
# The drop time follows step / rate: 0.001 / 0.1 = 0.01 s per point; 601 points.
model DropTime
model NumberOfPoints
# Single sweep. Peak: 2.68647e-4 A, 0.99999 x Randles-Sevcik, at 0.072 V; the textbook peak
# 0.07151 V lies between the two points 0.072 and 0.071 V, whose currents differ by 9e-10 A.
menu mnuFindPeak
model PeakCount
model PeakPotential(1,1)
model PeakCurrent(1,1)
model CurrentY(229,1)
# The shape: 7.1213e-5 (textbook 7.1217e-5), 1.34633e-4 (1.34632e-4), 2.28813e-4
# (2.28808e-4), 1.88060e-4 A (1.88062e-4).
model PotentialX(151)
model CurrentY(151,1)
model PotentialX(173)
model CurrentY(173,1)
model PotentialX(201)
model CurrentY(201,1)
model PotentialX(301)
model CurrentY(301,1)
# One cycle: the forward sweep is the same curve (point 230, at 0.071 V, next to the peak).
select FormIns.ComboScan cycle
menu mnuSimulate
model NumberOfPoints
model CurrentY(230,1)
# The switching point: 8.6530e-5 A (textbook 8.6537e-5 A).
model PotentialX(601)
model CurrentY(601,1)
# Find Peak on the cycle: anodic peak -2.0882e-4 A at 0.129 V (textbook -2.08775e-4 A at
# 0.12895 V); Ep2 - Ep1 = 0.057 V within 57-60 mV, midpoint 0.1005 V (E1/2 = 0.1 V: both
# peaks lie half a point from the textbook potentials).
# Ep/2 - Ep: the first point reaching 0.95 x half the peak (0.475 x 0.44629 = 0.21199 in
# units of u) is E1/2 + 30 mV, where the textbook current is 0.21250 (0.20700 at + 31 mV):
# 0.130 - 0.072 = 0.058 V, against the textbook half-peak width 2.2/f = 0.0565 V.
# Ipa/Ipc by Nicholson's rule with 0.08: |-2.0882/2.6865| + 0.485 x 8.6530e-5/2.6865e-4 + 0.08
# = 0.7773 + 0.1562 + 0.08 = 1.0135 (textbook currents: 0.7771 + 0.1562 + 0.08 = 1.0134).
menu mnuFindPeak
model PeakPotential(2,1)
model PeakCurrent(2,1)
# Theoretical Peak: Ip = 0.4463 u = 2.6865e-4 A at 0.1 - 1.109/f = 0.0715 V, 2.2/f =
# 0.0565 V, |Epc-Epa| = 2.3/f = 0.0591 V; the irreversible line (0.4958 nFAC sqrt(alpha f v
# D) = 2.1103e-4 A) does not apply to ks = 1e4 cm/s.
menu mnuTheoPeak
result
