# Auto Fit of E0 and ks of A + e = B to a noisy cyclic voltammogram "measured" with E0 = 0.1 V
# and ks = 1e-3 cm/s, then Auto Separate and Manual Fit. The report itself carries the
# computing time, so the script reads the fitted values from the captions and the model.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.mech(1)
menu mnuInstrument
set FormIns.Estart 0.3
set FormIns.Eend -0.3
set FormIns.Estep 0.002
set FormIns.Noise 1e-6
select FormIns.ComboScan cycle
menu mnuExperimental
set FormExpr.ks(1) 1e-3
menu mnuSimulate
model NumberOfPoints
# From twice the true rate and 20 mV off, with a narrowed ks range of 1e-5 .. 1 cm/s.
echo start from E0 = 0.12 V and ks = 2e-3 cm/s
set FormExpr.ks(1) 2e-3
set FormExpr.Eze(1) 0.12
check FormExpr.CheckFitted(1) off
check FormExpr.CheckFitted(11) on
set FormExpr.TextKsmin(1) 1e-5
set FormExpr.TextKsmax(1) 1
check FormExpr.CheckFitted(31) on
menu mnuAutoFit
caption FormExpr.CheckFitted(11)
caption FormExpr.CheckFitted(31)
get FormExpr.ks(1)
get FormExpr.Eze(1)
model FitParameterCount
model FitParameterCode(1)
model FitParameterCode(2)
model CurveCount
model FitMode
echo a hidden checked box is not fitted: E0 of a second reaction, checked under mechanism 2
click FormMech.mech(2)
menu mnuExperimental
check FormExpr.CheckFitted(32) on
click FormMech.mech(1)
menu mnuExperimental
get FormExpr.CheckFitted(32)
menu mnuAutoSeparate
model FitParameterCount
model CurveCount
echo a diffusion coefficient of 0 fails inside the fit
check FormExpr.CheckFitted(11) off
check FormExpr.CheckFitted(31) off
check FormExpr.CheckFitted(71) on
set FormExpr.TextDmin(1) 0
set FormExpr.D(1) 0
menu mnuAutoFit
model FitMode
echo no parameter: the engine still runs
check FormExpr.CheckFitted(71) off
set FormExpr.D(1) 1e-5
menu mnuAutoFit
model FitParameterCount
model FitObjectiveCount
menu mnuManualFit
model CurveCount
