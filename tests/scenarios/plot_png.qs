# A reversible cyclic voltammogram written as a PNG picture.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuInstrument
select FormIns.ComboScan cycle
menu mnuSimulate
plot cv.png
echo written
