# Chronoamperometry (technique 7) of A + e = B (1 mM, D = 1e-5 cm2/s, 1 cm2) stepped from rest at
# 0.3 V to -0.5 V for 1 s, sampled every 10 ms, in the analytical and the digital model: the
# Cottrell current nFAC sqrt(D/(pi t)) = 172.14 uA at 1 s, the Cottrell and Anson lines with D,
# the charge curve, the double step back to 0.5 V (-i(2 tau)/i(tau) = 1 - 1/sqrt(2) = 0.2929),
# and the step boxes kept by a session.
menu mnuTech
click FormTech.optTech(7)
menu mnuMechamism
click FormMech.CheckDigital
menu mnuInstrument
set FormIns.TextE1 -0.5
set FormIns.TextT1 1
set FormIns.TextTSample 0.01
menu mnuSimulate
model Technique
model NumberOfPoints
model PotentialX(100)
model CurrentY(1,1)
model CurrentY(100,1)
model PassedCharge(100)
model SpeciesC(1)
model ChargeKs(1)
model ChargeE0(1)
menu mnuCottrell
menu mnuAnson
menu mnuOption
select formOption.ComboY "charge Q"
click formOption.cmdOK
model CurrentY(100,1)
menu mnuOption
select formOption.ComboY "current I"
click formOption.cmdOK
echo the double step
set FormIns.TextE2 0.5
set FormIns.TextT2 1
menu mnuSimulate
model NumberOfPoints
model CurrentY(200,1)
echo the digital model
click FormMech.CheckDigital
set FormIns.TextT2 0
menu mnuSimulate
model CurrentY(1,1)
model CurrentY(100,1)
menu mnuCottrell
menu mnuAnson
result
echo a session keeps the step boxes
dialog steps.qs
menu mnuSaveSession
set FormIns.TextE1 0
set FormIns.TextTSample 1
dialog steps.qs
menu mnuOpenSession
get FormIns.TextE1
get FormIns.TextTSample
model StepPotential1
model SampleTime
