# A box whose text is not a number stops Simulate with one message naming the box and what it
# holds, and the program carries on; an empty box reads 0, and a number too large for the
# program names its box.
# no electroactive species: the curves hold only what the driver adds
menu mnuExperimental
set FormExpr.C(1) 0
menu mnuInstrument
set FormIns.Estart abc
menu mnuSimulate
set FormIns.Estart 0
set FormIns.Eend 1e
menu mnuSimulate
set FormIns.Eend 1
set FormIns.Estep --1
menu mnuSimulate
set FormIns.Estep ""
menu mnuSimulate
set FormIns.Eend "0.5 V"
menu mnuSimulate
set FormIns.Eend 0.5
set FormIns.Estep "0.1volt"
menu mnuSimulate
set FormIns.Estep 0.1
set FormIns.txttemp ""
set FormIns.Noise 1e999
menu mnuSimulate
set FormIns.Noise x
menu mnuSimulate
set FormIns.Noise " 0 "
menu mnuSimulate
model StartPotential
model EndPotential
model PotentialStep
model Temperature
model NumberOfPoints
set FormExpr.D(1) abc
menu mnuSimulate
set FormExpr.D(1) 1e-5
set FormExpr.ks(1) --1
menu mnuSimulate
set FormExpr.ks(1) 1e4
set FormExpr.C(1) ""
get FormExpr.Cinit(1)
menu mnuSimulate
model SpeciesD(1)
model SpeciesC(1)
