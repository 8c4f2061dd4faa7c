# A scan rate of 1e308 V/s: nFv/RT overflows; Theoretical Peak names the scan rate and exits 0.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.Command1
activate MDIForm1
menu mnuSimulate
menu mnuInstrument
set FormIns.V 1e308
menu mnuTheoPeak
result
