# kb = 1e-308 /s makes Keq = kf / kb larger than any number: the Keq label keeps what it showed.
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
