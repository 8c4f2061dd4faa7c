# kb = 1e-308 /s makes Keq = kf / kb larger than any number: the change ends with the overflow
# message and the Keq label keeps what it showed. The message of a change is a notice, and the
# Simulate after kb = 2 runs: the script exits 0.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.mech(7)
click FormMech.Command1
menu mnuExperimental
get FormExpr.LabelKeq(1)
set FormExpr.kb(1) 1e-308
get FormExpr.LabelKeq(1)
set FormExpr.kb(1) 2
get FormExpr.LabelKeq(1)
menu mnuSimulate
