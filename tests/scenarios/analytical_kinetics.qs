# Slow electron transfer, homogeneous chemistry, ohmic drop and the square wave in the analytical
# model, against the textbook (mechanism 1, A + e = B unless said otherwise, E0' = 0.1 V, alpha
# 0.5, 1 mM A, no B (pre-equilibration off), D = 1e-5 cm2/s, 1 cm2, 25 C, 0.1 V/s).
# f = F/RT = 96484.6 / (8.31441 x 298.14) = 38.92298 /V; sqrt(pi D f v) = 0.0110581 cm/s.
#
# 1. Nicholson's quasi-reversible cycle, switched 112.5 mV past E0' (E end -0.0125 V), 0.5 mV
#    steps: psi = ks / sqrt(pi D f v) = 20, 1, 0.25, 0.1 gives Delta Ep = 60.98, 83.69, 139.85,
#    210.14 mV. Theoretical Peak prints the peaks of the same solution interpolated between
#    the points (psi and |Epc-Epa| = 0.061, 0.0837, 0.1398 V), Find Peak the points (0.061,
#    0.084, 0.14, 0.21 V). At psi = 0.1 the cathodic current still rises at the switching
#    potential, so Theoretical Peak finds no cathodic peak and Find Peak takes the last point.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuInstrument
set FormIns.Estart 0.5
set FormIns.Eend -0.0125
set FormIns.Estep 0.0005
set FormIns.V 0.1
select FormIns.ComboScan cycle
echo psi 20
set FormExpr.ks(1) 0.221162
menu mnuSimulate
menu mnuFindPeak
menu mnuTheoPeak
result
menu mnuClear
echo psi 1
set FormExpr.ks(1) 0.0110581
menu mnuSimulate
menu mnuFindPeak
menu mnuTheoPeak
result
menu mnuClear
echo psi 0.25
set FormExpr.ks(1) 0.00276452
menu mnuSimulate
menu mnuFindPeak
menu mnuTheoPeak
result
menu mnuClear
echo psi 0.1
set FormExpr.ks(1) 0.00110581
menu mnuSimulate
menu mnuFindPeak
menu mnuTheoPeak
result
menu mnuClear
# 2. Ohmic drop, reversible couple (ks 1e4 cm/s), one sweep 0.3 V to -0.3 V in 0.5 mV steps:
#    without resistance the peak is Randles-Sevcik's 268.65 uA at E1/2 - 28.49 mV = 0.0715 V;
#    with Ru = 100 ohm solved implicitly (E = Eapp + Ru I at each point) it moves 33.5 mV to
#    0.038 V and falls to 253.3 uA (Find Peak: 0.0715 V, 2.6865E-4 A; 0.038 V, 2.5331E-4 A).
echo ohmic drop
set FormIns.Estart 0.3
set FormIns.Eend -0.3
select FormIns.ComboScan single
set FormExpr.ks(1) 1e4
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.txtRu 100
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
# Ru = 1000 ohm over a cycle: the peaks separate by 441.3 mV (Find Peak, 0.5 mV points: 0.4415 V).
select FormIns.ComboScan cycle
set FormIns.txtRu 1000
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.txtRu 0
select FormIns.ComboScan single
# 3. Following reaction (mechanism 7, B -> C, kf = lambda F v / RT): lambda = 10 puts the peak
#    9.76 mV positive of E1/2 (0.1098 V), lambda = 100 39.13 mV (0.1391 V); lambda = 1000,
#    68.71 mV (0.1687 V), with the
#    peak near 0.4958 / 0.4463 = 1.111 x Randles-Sevcik = 298.4 uA (299.2 uA: the limit is
#    approached from above). Find Peak: 0.11, 0.139 and 0.1685 V.
echo following reaction
click FormMech.mech(7)
menu mnuExperimental
set FormExpr.kf(1) 38.92298
set FormExpr.kb(1) 0
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormExpr.kf(1) 389.2298
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormExpr.kf(1) 3892.298
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
# 4. Preceding reaction (mechanism 6, C = A with kf 1 /s, kb 100 /s, 1 mM in all, A at its
#    equilibrium share K / (1 + K) = 9.90099e-6 M), a DC wave sampled 0.5 s after each step:
#    the plateau is 28.33 uA, below the pure kinetic limit nFAC sqrt(D) K/(1+K) sqrt(kf + kb)
#    = 30.36 uA that longer drops approach (2.83339e-5 A at -0.3 V; the inverse Laplace
#    transform of the flux, evaluated numerically, gives 2.833125e-5 A).
echo preceding reaction
click FormMech.mech(6)
menu mnuTech
click FormTech.optTech(2)
set FormIns.Estep 0.005
set FormIns.td 0.5
set FormExpr.C(1) 9.90099e-6
set FormExpr.C(3) 9.90099e-4
set FormExpr.kf(1) 1
set FormExpr.kb(1) 100
menu mnuSimulate
model NumberOfPoints
model PotentialX(121)
model CurrentY(121,1)
# 5. Square wave (Osteryoung), reversible, 1 mM A again: E pulse 0.05 V peak to peak (n Esw =
#    25 mV), steps of 10 mV, 10 ms half periods (f 50 Hz): the net peak Delta Psi = 0.5798 of
#    nFAC sqrt(D / (pi tp)) = 96484.6 x 1e-6 x sqrt(1e-5 / (pi x 0.01)) = 1.72141e-3 A, i.e.
#    9.9807e-4 A at E1/2 = 0.1 V; n Esw = 50 mV (E pulse 0.1 V): 0.9281, 1.59764e-3 A. Found:
#    9.9783e-4 and 1.5976e-3 A at 0.1 V.
echo square wave
click FormMech.mech(1)
set FormExpr.C(1) 1e-3
click FormTech.optTech(5)
set FormIns.Estep 0.01
set FormIns.TextF 50
set FormIns.Epulse 0.05
menu mnuSimulate
model PulseTime
menu mnuFindPeak
result
menu mnuClear
set FormIns.Epulse 0.1
menu mnuSimulate
menu mnuFindPeak
result
