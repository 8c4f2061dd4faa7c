# Numbers beyond the number range, typed into the forms of the analytical model: each ends the
# change or the run with a message naming what overflowed, the program carries on, and the script
# exits 0 (a message of a typed value is a notice).
menu mnuMechamism
click FormMech.CheckDigital
echo noise of 1e308 A overflows the curve; the commands after it say there is no curve
menu mnuInstrument
set FormIns.Noise 1e308
menu mnuSimulate
menu mnuFindHalfwaveE
menu mnuFindPeak
menu mnuDerivative
set FormIns.Noise 0
menu mnuSimulate
menu mnuFindHalfwaveE
result
menu mnuClear
echo a scan rate of 1e308 V/s: nFv/RT overflows; Theoretical Peak names the scan rate
set FormIns.V 1e308
menu mnuTheoPeak
result
set FormIns.V 0.01
echo a sphere of radius 1e200 cm: its area keeps what it showed, Simulate refuses the infinite one
click FormIns.optElectrode(2)
set FormIns.radius 1e200
get FormIns.radius
get FormIns.ARE
menu mnuSimulate
set FormIns.radius 0.2821
get FormIns.ARE
echo kb = 1e-308 /s makes Keq larger than any number: its label keeps what it showed
click FormMech.mech(7)
menu mnuExperimental
get FormExpr.LabelKeq(1)
set FormExpr.kb(1) 1e-308
get FormExpr.LabelKeq(1)
set FormExpr.kb(1) 2
get FormExpr.LabelKeq(1)
menu mnuSimulate
