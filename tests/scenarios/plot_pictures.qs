# A reversible cyclic voltammogram, drawn and written as SVG pictures.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuInstrument
select FormIns.ComboScan cycle
menu mnuSimulate
caption FormPlot
model PlotXMin
model PlotXMax
model PlotYMin
model PlotYMax
plot cv.svg
echo with a grid and the direction of x reversed
menu mnuOption
click formOption.CheckGrid
click formOption.CheckXdir
click formOption.cmdOK
plot grid.svg
