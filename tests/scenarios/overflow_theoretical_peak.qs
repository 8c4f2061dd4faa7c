# A scan rate of 1e308 V/s: the theoretical peak current overflows and says so.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.Command1
activate MDIForm1
menu mnuSimulate
menu mnuInstrument
set FormIns.V 1e308
menu mnuTheoPeak
result
