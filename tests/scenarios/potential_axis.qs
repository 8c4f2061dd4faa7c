# Potential axes of a single sweep, a cycle and three cycles, and the rounding of the point count.
# no electroactive species: the curves hold only what the driver adds
menu mnuExperimental
set FormExpr.C(1) 0
menu mnuInstrument
set FormIns.Estart 0
set FormIns.Eend 1
set FormIns.Estep 0.01
menu mnuSimulate
model SweepPoints
model NumberOfPoints
model PotentialX(0)
model PotentialX(1)
model PotentialX(101)
model SweepDirection
select FormIns.ComboScan cycle
menu mnuSimulate
model NumberOfPoints
model PotentialX(101)
model PotentialX(102)
model PotentialX(202)
select FormIns.ComboScan "3 cycles"
menu mnuSimulate
model NumberOfPoints
model PotentialX(405)
echo ratio 2.5 and 3.5
select FormIns.ComboScan single
set FormIns.Estep 0.25
set FormIns.Eend 0.625
menu mnuSimulate
model SweepPoints
set FormIns.Eend 0.875
menu mnuSimulate
model SweepPoints
curves
echo a decreasing sweep
set FormIns.Estart 0.3
set FormIns.Eend -0.3
set FormIns.Estep 0.1
menu mnuSimulate
model SweepDirection
curves
