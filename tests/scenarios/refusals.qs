# Physically impossible values and boxes without a number are refused before the run, with one
# message naming the box, the value and the allowed range; the curve stays as it was, and the
# script ends with the status of a failed computation.
menu mnuSimulate
model NumberOfPoints
echo a sphere of negative radius
menu mnuInstrument
click FormIns.optElectrode(2)
set FormIns.radius -0.01
menu mnuSimulate
set FormIns.radius 0.2821
echo negative concentration, zero D, alpha of 2, negative noise, below absolute zero
menu mnuExperimental
set FormExpr.C(1) -1e-3
menu mnuSimulate
set FormExpr.C(1) 1e-3
set FormExpr.D(1) 0
menu mnuSimulate
set FormExpr.D(1) 1e-5
menu mnuMechamism
click FormMech.CheckDigital
set FormExpr.alph(1) 2
menu mnuSimulate
menu mnuAutoFit
set FormExpr.alph(1) 0.5
set FormIns.Noise -1e-6
menu mnuSimulate
set FormIns.Noise 0
set FormIns.txttemp -274
menu mnuSimulate
set FormIns.txttemp 25
echo a differential pulse longer than its drop
menu mnuTech
click FormTech.optTech(4)
menu mnuInstrument
set FormIns.tp 0.6
menu mnuSimulate
set FormIns.tp 0.025
echo a rate constant that is not a number
set FormExpr.ks(1) not-a-number
menu mnuSimulate
menu mnuManualFit
set FormExpr.ks(1) 1e4
menu mnuSimulate
model NumberOfPoints
