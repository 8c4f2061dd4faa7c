# Input the digital simulation cannot run ends the run with the simulation's message, and the
# program carries on: a grid of more than 200 points (an expanding-grid factor of 0.01), a zero
# drop time, a zero scan rate, a zero pulse time (a zero potential step: limits).
menu mnuInstrument
set FormIns.TextExpanding 0.01
menu mnuSimulate
model LastPoint
set FormIns.TextExpanding 0.5
echo a zero drop time in DC: a zero time step and length scale, and 0 / 0 overflows
menu mnuTech
click FormTech.optTech(2)
set FormIns.td 0
menu mnuSimulate
set FormIns.td 0.5
echo a zero scan rate: the sweep's step of E step / v never ends
click FormTech.optTech(1)
set FormIns.V 0
menu mnuSimulate
set FormIns.V 0.01
echo a zero pulse time in differential pulse
click FormTech.optTech(4)
menu mnuInstrument
set FormIns.tp 0
menu mnuSimulate
model LastPoint
echo with sound input the same program simulates again
set FormIns.tp 0.025
menu mnuSimulate
model LastPoint
echo a charge transfer so fast (ks 1e20 cm/s) that the surface block is singular in double
echo precision: one message tells at how many steps the solver met it; the run completes, its
echo currents mean nothing
click FormTech.optTech(1)
menu mnuExperimental
set FormExpr.ks(1) 1e20
set FormIns.Estart 0.11
set FormIns.Eend 0.09
menu mnuSimulate
model NumberOfPoints
model LastPoint
