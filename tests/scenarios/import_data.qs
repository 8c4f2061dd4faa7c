# Import of measured data: the points go into curve 1, the Instrument window's potential boxes
# are filled from them, the result window reports what was read and the plot takes the file's
# name.
dialog three_points.csv
menu mnuImport
result
curves
model NumberOfPoints
model FirstPoint
model LastPoint
model CurveCount
model CurrentCurve
get FormIns.Estart
get FormIns.Eend
get FormIns.Estep
get FormIns.TxtI0
caption FormPlot
echo the model takes the potentials only when the Instrument window is confirmed
model StartPotential
echo falling potentials, blanks around the values and blank lines
menu mnuClear
dialog falling.csv
menu mnuImport
result
curves
get FormIns.TxtI0
echo a cancelled dialog reads the file chosen last again
menu mnuClear
dialog cancel
menu mnuImport
result
caption FormPlot
echo an empty file has no points; the boxes come from the points left in the store
menu mnuClear
dialog empty.csv
menu mnuImport
result
model NumberOfPoints
model FirstPoint
model LastPoint
get FormIns.Estart
get FormIns.Eend
