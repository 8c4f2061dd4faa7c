# Export of the current curve: a heading line naming the columns with their units, then one
# line per point, the potential, a comma, the current in the second print zone, carriage return
# and line feed. The import reads the file back as the same curve.
dialog export_source.csv
menu mnuImport
menu mnuMinusY
curves
dialog exported.csv
menu mnuExport
echo a cancelled Save dialog writes nothing, not even to the file chosen last
dialog cancel
menu mnuExport
echo read back
menu mnuClear
dialog exported.csv
menu mnuImport
curves
result
echo a failed export names the file and the reason
dialog missing/exported.csv
menu mnuExport
dialog .
menu mnuExport
echo after an empty file the range is 1..0: the export creates an empty file
dialog empty.csv
menu mnuImport
model FirstPoint
model LastPoint
dialog empty_range.csv
menu mnuExport
