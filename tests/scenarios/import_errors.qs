# Files that cannot be imported: a message box names the failure, the file and the line, what
# was expected there and what was found (or the file alone); the curve store, the point
# counts, the Instrument window and the result window stay as they were, and no menu is
# enabled.
echo a cancelled dialog without a file chosen before
dialog cancel
menu mnuImport
echo a missing current
dialog missing_value.csv
menu mnuImport
model PotentialX(2)
model CurrentY(2,1)
echo text instead of a number
dialog text_value.csv
menu mnuImport
echo a number beyond the double range
dialog huge_number.csv
menu mnuImport
echo a line holding one value
dialog odd_values.csv
menu mnuImport
echo a file that is not there
dialog absent.csv
menu mnuImport
echo a cancelled dialog tries the file chosen last again
dialog cancel
menu mnuImport
echo what stays as it was
model NumberOfPoints
model FirstPoint
model LastPoint
model CurveCount
get FormIns.Estart
get FormIns.Eend
get FormIns.Estep
get FormIns.TxtI0
result
caption FormPlot
echo the Display menu is still disabled: the next line is refused
menu mnuPlot
echo not reached
