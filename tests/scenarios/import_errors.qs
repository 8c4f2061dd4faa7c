# Files that cannot be imported: a message box names the failure, the point counts, the
# Instrument window and the result window stay as they were, the records read before the
# failure stay in the store, and no menu is enabled.
echo a cancelled dialog without a file chosen before
dialog cancel
menu mnuImport
echo a header line is read as the first record
dialog header.csv
menu mnuImport
model PotentialX(1)
echo a third column
dialog extra_column.csv
menu mnuImport
model CurrentY(1,1)
model PotentialX(2)
echo a missing current
dialog missing_value.csv
menu mnuImport
model PotentialX(2)
model CurrentY(2,1)
echo text instead of a number
dialog text_value.csv
menu mnuImport
echo the file ends inside a record
dialog odd_values.csv
menu mnuImport
echo a file that is not there
dialog absent.csv
menu mnuImport
echo 5001 records
dialog too_many.csv
menu mnuImport
model PotentialX(5000)
model CurrentY(5000,1)
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
