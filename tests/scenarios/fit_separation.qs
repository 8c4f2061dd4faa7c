# Peak separation of two independent reductions 60 mV apart (mechanism 4, A + e = B at 0.1 V and
# C + e = D at 0.04 V, 1 mM each): curve 1 the "measured" sum, curve 2 the total simulated
# current, curves 3 and 4 the current of each reaction. Without charging current the total is
# the sum of the two components at every point.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.mech(4)
menu mnuInstrument
set FormIns.Estart 0.3
set FormIns.Eend -0.3
set FormIns.Estep 0.01
select FormIns.ComboScan single
menu mnuExperimental
check FormExpr.CheckFitted(1) off
set FormExpr.C(3) 1e-3
set FormExpr.Eze(2) 0.04
menu mnuSimulate
model NumberOfPoints
menu mnuManualSeparate
model CurveCount
model FitMode
echo point 25, near the first peak
model PotentialX(25)
model CurrentY(25,1)
model CurrentY(25,2)
model CurrentY(25,3)
model CurrentY(25,4)
echo point 31, near the second peak
model PotentialX(31)
model CurrentY(31,2)
model CurrentY(31,3)
model CurrentY(31,4)
