# The curve transforms of the Analyze menu on a short DC wave (7 points, 0.1 V apart): the
# running integral (trapezoid rule, point 1 takes the value of point 2), its derivative (central
# differences, one-sided at the ends), and log((Id-I)/I) with the last point extrapolated.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuTech
click FormTech.optTech(2)
menu mnuInstrument
set FormIns.Estep 0.1
menu mnuSimulate
curves
menu mnuIntegral
curves
menu mnuDerivative
curves
menu mnuSimulate
menu mnuLog
curves
