# A sphere of radius 1e200 cm: its area 4 pi r^2 has no digits to show. The change ends with the
# overflow message, the area box keeps what it showed and the radius what was typed; Simulate
# then refuses the infinite area with a notice (status 0), and a sound radius brings the area back.
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
