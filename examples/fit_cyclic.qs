# Auto Fit: a noisy cyclic voltammogram of A + e = B is "measured" with E0 = 0.1 V and
# ks = 1e-3 cm/s, the two constants are moved away, marked as fitted and fitted back. The result
# window shows the sum of squares of every iteration and the report; the fitted values also
# appear beside their "fitted" boxes.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.mech(1)
click FormMech.Command1
menu mnuInstrument
set FormIns.Noise 1e-6
select FormIns.ComboScan cycle
click FormIns.cmdOK
menu mnuExperimental
set FormExpr.ks(1) 1e-3
menu mnuSimulate
set FormExpr.ks(1) 2e-3
set FormExpr.Eze(1) 0.12
check FormExpr.CheckFitted(1) off
check FormExpr.CheckFitted(11) on
set FormExpr.TextKsmin(1) 1e-5
set FormExpr.TextKsmax(1) 1
check FormExpr.CheckFitted(31) on
menu mnuAutoFit
result
caption FormExpr.CheckFitted(11)
caption FormExpr.CheckFitted(31)
