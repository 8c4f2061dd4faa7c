# The parameter report: label lines and value lines, carriage return and line feed, the
# values as the last Simulate applied them; the conductivity, which no form sets, is empty.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.mech(1)
menu mnuInstrument
set FormIns.Estart 0.2
set FormIns.Eend -0.4
set FormIns.Estep 0.002
set FormIns.Noise 1e-8
menu mnuSimulate
model NumberOfPoints
model SpeciesCount
dialog run.par
menu mnuSave
echo a cancelled Save dialog writes nothing, not even to the file chosen last
dialog cancel
menu mnuSave
echo a folder that is not there: the message names the file and the reason
dialog missing/run.par
menu mnuSave
