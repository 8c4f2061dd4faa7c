# Export of the current curve: one line per point, the potential, a comma, the current in the
# second print zone, carriage return and line feed. The import reads the file back as the same
# curve.
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
echo failures are reported
dialog missing/exported.csv
menu mnuExport
dialog .
menu mnuExport
