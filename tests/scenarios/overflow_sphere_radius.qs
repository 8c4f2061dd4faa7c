# A sphere of radius 1e200 cm: its area 4 pi r^2 has no digits to show. The area box keeps what
# it showed while the radius keeps what was typed; Simulate then ends with the overflow message.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.Command1
menu mnuInstrument
click FormIns.optElectrode(2)
set FormIns.radius 1e200
get FormIns.radius
get FormIns.ARE
menu mnuSimulate
set FormIns.radius 0.2821
get FormIns.ARE
