# Text that is not the program's own two-column layout reads as delimited text: a heading line
# names the columns, semicolons and tabs separate values as commas do, a third column that no
# heading names is refused at its line rather than left unread (the import fails: status 4),
# and the store holds far more than 5000 points.
echo a heading line
dialog header.csv
menu mnuImport
result
curves
echo quoted headings
menu mnuClear
dialog quoted_header.csv
menu mnuImport
curves
echo a third column without a heading
menu mnuClear
dialog extra_column.csv
menu mnuImport
curves
echo semicolons and tabs
menu mnuClear
dialog semicolons.csv
menu mnuImport
curves
dialog tabs.csv
menu mnuImport
curves
echo 5001 records
menu mnuClear
dialog too_many.csv
menu mnuImport
result
model NumberOfPoints
model PotentialX(5001)
model CurrentY(5001,1)
