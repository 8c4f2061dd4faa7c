# DC and pulse points of the digital simulation start from the bulk: each is a fresh drop or a
# fresh pulse, so its current does not depend on the points before it. Potentials 0.5 -> -0.5 V
# in steps of 0.0625 V (exact in binary, so that forward and backward sweeps meet the same
# potentials exactly). Pre-equilibration is off, so that the bulk is 1 mM Fe+3 whichever end
# the sweep starts from. Steps of 62.5 mV at 10 mV/s make drops of 6.25 s: the DC plateau is
# Cottrell's F A C sqrt(D / (pi t)) = 6.8856E-5 A at 6.25 s, the normal pulse plateau 1.0887E-3 A
# at 25 ms; the differential pulse peaks at E0 - E pulse / 2 = 0.125 V.
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuInstrument
set FormIns.Estart 0.5
set FormIns.Eend -0.5
set FormIns.Estep 0.0625
echo DC, a cycle: the return sweep repeats the forward sweep point for point
menu mnuTech
click FormTech.optTech(2)
select FormIns.ComboScan cycle
menu mnuSimulate
model SweepPoints
model NumberOfPoints
curves
echo normal pulse, forward and backward: the same current at the same potential
click FormTech.optTech(3)
select FormIns.ComboScan single
menu mnuSimulate
curves
set FormIns.Estart -0.5
set FormIns.Eend 0.5
menu mnuSimulate
curves
echo differential pulse, forward and backward: the same current at the same potential
click FormTech.optTech(4)
menu mnuSimulate
curves
set FormIns.Estart 0.5
set FormIns.Eend -0.5
menu mnuSimulate
curves
echo a linear sweep carries its profile on: its return differs from its forward sweep
click FormTech.optTech(1)
select FormIns.ComboScan cycle
menu mnuSimulate
model CurrentY(9,1)
model CurrentY(26,1)
