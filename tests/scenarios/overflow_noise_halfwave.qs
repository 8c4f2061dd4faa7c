# Noise of 1e308 A overflows the curve; Find Halfwave E after it says there is no curve.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.Command1
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
