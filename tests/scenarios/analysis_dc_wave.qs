# A reversible DC wave of the analytical model (mechanism 1, planar electrode, E0' = 0.1 V,
# 1 mM, D = 1e-5 cm2/s, 1 cm2, 1 mV steps): its half-wave potential and height, the textbook
# values, and the logarithmic plot log((Id-I)/I), which passes 0 at E1/2 with a slope of
# nF/(2.3RT) = 16.9 per volt.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuTech
click FormTech.optTech(2)
menu mnuInstrument
set FormIns.Estep 0.001
menu mnuSimulate
model Technique
model DropTime
model NumberOfPoints
menu mnuFindHalfwaveE
menu mnuTheoPeak
result
menu mnuLog
model PotentialX(191)
model CurrentY(191,1)
model PotentialX(201)
model CurrentY(201,1)
model PotentialX(211)
model CurrentY(211,1)
