# A chronoamperogram measured at uneven instants (chronoamperometry_uneven.setup writes it:
# Cottrell's current of D = 1e-5 cm2/s at 151 instants from 0.27 ms to 1 s, dense after the step,
# jittering), imported under technique 7 and fitted for D from 3e-5 cm2/s in the analytical
# model: the steps are computed on their fine grid and read at each instant, and D comes back
# (1.00002e-5 cm2/s). The instants are not the samples of t sample, which the import sets to
# their mean step.
menu mnuTech
click FormTech.optTech(7)
menu mnuMechamism
click FormMech.CheckDigital
menu mnuInstrument
set FormIns.TextE1 -0.5
set FormIns.TextT1 1
set FormIns.TextTSample 0.01
dialog uneven.csv
menu mnuImport
model NumberOfPoints
model PotentialX(1)
model PotentialX(2)
get FormIns.TextT1
get FormIns.TextTSample
menu mnuExperimental
check FormExpr.CheckFitted(1) off
check FormExpr.CheckFitted(2) off
set FormExpr.D(1) 3e-5
set FormExpr.D(2) 3e-5
check FormExpr.CheckFitted(71) on
set FormExpr.TextDmin(1) 1e-7
set FormExpr.TextDmax(1) 1e-3
menu mnuAutoFit
caption FormExpr.CheckFitted(71)
