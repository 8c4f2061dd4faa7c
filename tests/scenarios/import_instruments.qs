# Files as instruments write them: the format is recognised from the content, the curve goes
# into the store, the Instrument window takes the potentials, the scan rate and the area, and
# a file of several cycles opens the Import window to choose one.
echo EC-Lab text with decimal commas, two cycles
dialog cv.mpt
menu mnuImport
result
curves
get FormIns.V
get FormIns.ARE
get FormImport.lblFormat
get FormImport.lblCurves
get FormImport.ComboCycle
echo the second cycle
select FormImport.ComboCycle "cycle 2"
curves
echo both cycles overlaid, one curve each
select FormImport.ComboCycle "all cycles"
model NumberOfPoints
model CurveCount
get FormIns.ComboScan
echo the potential read from another column
get FormImport.ComboPotential
select FormImport.ComboPotential "time/s"
model PotentialX(1)
click FormImport.cmdOK
echo CH Instruments text: one cycle, and its peaks found at once
menu mnuClear
dialog cv.txt
menu mnuImport
menu mnuFindPeak
result
echo a spreadsheet in millivolts and microamperes
menu mnuClear
dialog sweep.csv
menu mnuImport
result
curves
echo a file that is not understood changes nothing
menu mnuClear
dialog broken.csv
menu mnuImport
result
model NumberOfPoints
model PotentialX(1)
caption FormPlot
