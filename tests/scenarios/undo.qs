# Edit > Undo takes back what a transform, an import or a fit did to the curves, the newest step
# first; a command refused before it ran leaves no step. Taking back the first Simulate leaves no
# curve and an empty plot; with nothing left Undo says so.
menu mnuUndo
menu mnuSimulate
model CurrentY(40,1)
echo -Y, then the derivative, taken back one after the other
menu mnuMinusY
model CurrentY(40,1)
menu mnuDerivative
model CurrentY(40,1)
menu mnuUndo
model CurrentY(40,1)
menu mnuUndo
model CurrentY(40,1)
echo an import over the turned curve; a refused Simulate leaves no step, so Undo takes back the import
dialog cv.csv
menu mnuExport
menu mnuMinusY
menu mnuImport
model CurrentY(40,1)
menu mnuInstrument
set FormIns.Noise -1
menu mnuSimulate
set FormIns.Noise 0
menu mnuUndo
model CurrentY(40,1)
echo a manual fit's curve, taken back
menu mnuManualFit
model CurveCount
menu mnuUndo
model CurveCount
echo -Y and the first Simulate taken back: no curve is left
menu mnuUndo
menu mnuUndo
model CurveCount
menu mnuUndo
