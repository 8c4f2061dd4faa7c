# A global fit: digital cyclic voltammograms of E0 = 0.1 V, ks = 0.01 cm/s, alpha = 0.5 at four
# scan rates, each exported, imported with its own scan rate in the Instrument form and kept
# with Add Curve to Global Fit; E0, ks and alpha are then fitted to the four curves at once.
menu mnuInstrument
set FormIns.Estart 0.4
set FormIns.Eend -0.2
set FormIns.Estep 0.002
set FormIns.Noise 1e-6
select FormIns.ComboScan cycle
menu mnuExperimental
check FormExpr.CheckFitted(1) off
set FormExpr.ks(1) 0.01
set FormExpr.Eze(1) 0.1
echo the measurements
set FormIns.V 0.02
menu mnuSimulate
dialog cv_0.02.csv
menu mnuExport
set FormIns.V 0.1
menu mnuSimulate
dialog cv_0.1.csv
menu mnuExport
set FormIns.V 0.5
menu mnuSimulate
dialog cv_0.5.csv
menu mnuExport
set FormIns.V 2
menu mnuSimulate
dialog cv_2.csv
menu mnuExport
echo a global fit without curves
menu mnuGlobalFit
echo each curve imported with the scan rate it was measured at
menu mnuClear
set FormIns.Noise 0
set FormIns.V 0.02
dialog cv_0.02.csv
menu mnuImport
set FormIns.TxtI0 0
menu mnuGlobalAdd
set FormIns.V 0.1
dialog cv_0.1.csv
menu mnuImport
set FormIns.TxtI0 0
menu mnuGlobalAdd
set FormIns.V 0.5
dialog cv_0.5.csv
menu mnuImport
set FormIns.TxtI0 0
menu mnuGlobalAdd
set FormIns.V 2
dialog cv_2.csv
menu mnuImport
set FormIns.TxtI0 0
menu mnuGlobalAdd
result
echo fit from E0 = 0.05 V, ks = 0.05 cm/s, alpha = 0.4
set FormExpr.Eze(1) 0.05
set FormExpr.ks(1) 0.05
set FormExpr.alph(1) 0.4
check FormExpr.CheckFitted(11) on
check FormExpr.CheckFitted(21) on
set FormExpr.TextAlphaMin(1) 0.1
set FormExpr.TextAlphamax(1) 0.9
check FormExpr.CheckFitted(31) on
menu mnuGlobalFit
caption FormExpr.CheckFitted(31)
caption FormExpr.CheckFitted(11)
caption FormExpr.CheckFitted(21)
model ChargeKs(1)
model CurveCount
model NumberOfPoints
model FitMode
echo the curves are forgotten
menu mnuGlobalClear
menu mnuGlobalFit
