# Text that is no number reads as its leading number, or 0, and never stops the program.
# no electroactive species: the curves hold only what the driver adds
menu mnuExperimental
set FormExpr.C(1) 0
menu mnuInstrument
set FormIns.Estart abc
set FormIns.Eend 1e
set FormIns.Estep --1
menu mnuSimulate
set FormIns.Estep ""
menu mnuSimulate
set FormIns.Eend "0.5 V"
set FormIns.Estep "0.1volt"
set FormIns.txttemp ""
set FormIns.Noise 1e999
menu mnuSimulate
set FormIns.Noise x
menu mnuSimulate
model StartPotential
model EndPotential
model PotentialStep
model Temperature
model NumberOfPoints
menu mnuExperimental
set FormExpr.D(1) abc
set FormExpr.C(1) ""
set FormExpr.ks(1) --1
get FormExpr.Cinit(1)
menu mnuSimulate
model SpeciesD(1)
model SpeciesC(1)
