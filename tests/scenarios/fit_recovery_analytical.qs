# The same recovery in the analytical mode: a noisy cyclic voltammogram of the convolution
# solution (E0 = 0.1 V, ks = 0.01 cm/s), exported and imported, fitted for E0 and ks from 50 mV
# off and ks five times too high or too low within the default ks range that fit_recovery
# prints; then alpha from 0.3 and 0.7.
menu mnuMechamism
click FormMech.CheckDigital
model DigitalSimulation
menu mnuInstrument
set FormIns.Estart 0.4
set FormIns.Eend -0.2
set FormIns.Estep 0.002
set FormIns.V 0.1
set FormIns.Noise 2e-6
select FormIns.ComboScan cycle
menu mnuExperimental
check FormExpr.CheckFitted(1) off
set FormExpr.ks(1) 0.01
set FormExpr.Eze(1) 0.1
menu mnuSimulate
dialog measured.csv
menu mnuExport
dialog measured.csv
menu mnuImport
model NumberOfPoints
echo the data carry no baseline
set FormIns.TxtI0 0
set FormIns.Noise 0
check FormExpr.CheckFitted(11) on
check FormExpr.CheckFitted(31) on
echo start E0 = 0.05 V, ks = 0.05 cm/s
set FormExpr.Eze(1) 0.05
set FormExpr.ks(1) 0.05
menu mnuAutoFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
echo start E0 = 0.05 V, ks = 0.002 cm/s
set FormExpr.ks(1) 0.002
menu mnuAutoFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
echo start E0 = 0.15 V, ks = 0.05 cm/s
set FormExpr.Eze(1) 0.15
set FormExpr.ks(1) 0.05
menu mnuAutoFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
echo start E0 = 0.15 V, ks = 0.002 cm/s
set FormExpr.ks(1) 0.002
menu mnuAutoFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
echo alpha from 0.3 and from 0.7, with E0 = 0.05 V and ks = 0.05 cm/s
check FormExpr.CheckFitted(21) on
set FormExpr.TextAlphaMin(1) 0.1
set FormExpr.TextAlphamax(1) 0.9
set FormExpr.Eze(1) 0.05
set FormExpr.ks(1) 0.05
set FormExpr.alph(1) 0.3
menu mnuAutoFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
caption FormExpr.CheckFitted(21)
set FormExpr.alph(1) 0.7
menu mnuAutoFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
caption FormExpr.CheckFitted(21)
