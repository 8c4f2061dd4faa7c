# The potential program (technique 8) of A + e = B (the default Fe3+/Fe2+ couple, 0.3 V to
# -0.3 V): two sweeps typed in the Potential program window give technique 1's cyclic
# voltammogram point for point, in the digital and the analytical model; a hold before the
# sweep is the quiet time; a step from rest held 1 s with a sweep back; an E(t) file read by
# File > Load Potential Program; a measured curve's own E(t) from its time column, simulated at
# its instants by Manual Fit; and the programs and files that are refused.
echo technique 1, one cycle, digital
menu mnuInstrument
select FormIns.ComboScan cycle
menu mnuSimulate
model NumberOfPoints
model CurrentY(40,1)
model CurrentY(121,1)
model CurrentY(200,1)
echo the same cycle as a program of two sweeps
menu mnuTech
click FormTech.optTech(8)
caption FormTech.optTech(8)
menu mnuProgram
select FormProgram.ComboKind(1) sweep
set FormProgram.TextE(1) 0.3
set FormProgram.TextEto(1) -0.3
set FormProgram.TextV(1) 0.01
select FormProgram.ComboKind(2) sweep
set FormProgram.TextE(2) -0.3
set FormProgram.TextEto(2) 0.3
set FormProgram.TextV(2) 0.01
get FormProgram.TextT(2)
menu mnuInstrument
set FormIns.TextTSample 0.5
menu mnuSimulate
model Technique
model NumberOfPoints
model CurrentY(40,1)
model CurrentY(121,1)
model CurrentY(200,1)
model PointTimes(200)
echo the analytical model, the program and technique 1
menu mnuMechamism
click FormMech.CheckDigital
menu mnuSimulate
model CurrentY(40,1)
model CurrentY(200,1)
click FormTech.optTech(1)
menu mnuSimulate
model CurrentY(40,1)
model CurrentY(200,1)
echo a hold of 10 s at the start potential, then one sweep: the quiet time of technique 1
select FormIns.ComboScan single
set FormIns.TextQuiet 10
menu mnuSimulate
model NumberOfPoints
model CurrentY(40,1)
click FormTech.optTech(8)
select FormProgram.ComboKind(1) hold
set FormProgram.TextE(1) 0.3
set FormProgram.TextT(1) 10
set FormProgram.TextE(2) 0.3
set FormProgram.TextEto(2) -0.3
menu mnuSimulate
model NumberOfPoints
model CurrentY(60,1)
echo a step from rest at 0.3 V to -0.3 V held 1 s, then a sweep back at 1 V/s, against time
set FormIns.TextQuiet 0
set FormIns.TextTSample 0.01
select FormProgram.ComboKind(1) step
set FormProgram.TextE(1) -0.3
set FormProgram.TextT(1) 1
set FormProgram.TextE(2) -0.3
set FormProgram.TextEto(2) 0.3
set FormProgram.TextV(2) 1
menu mnuSimulate
model NumberOfPoints
model PotentialX(1)
model CurrentY(1,1)
model CurrentY(100,1)
model PotentialX(130)
model CurrentY(130,1)
menu mnuOption
select formOption.ComboX "time t"
click formOption.cmdOK
plot program.svg
echo an E(t) file: a triangle from 0.3 V to -0.3 V and back in 120 s
dialog triangle.csv
menu mnuLoadProgram
caption FormProgram.lblFile
get FormProgram.CheckFile
set FormIns.TextTSample 0.5
menu mnuSimulate
model NumberOfPoints
model PotentialX(121)
model CurrentY(40,1)
echo a measured cycle with its time column: its own E(t), simulated at its instants
dialog measured.csv
menu mnuImport
menu mnuProgramFromData
caption FormProgram.lblFile
get FormIns.TextTSample
menu mnuManualFit
model NumberOfPoints
model PotentialX(40)
model CurrentY(40,2)
dialog untimed.csv
menu mnuImport
menu mnuProgramFromData
echo refused programs and files
click FormProgram.CheckFile
set FormProgram.TextV(2) 0
menu mnuSimulate
set FormProgram.TextV(2) fast
menu mnuSimulate
set FormProgram.TextV(2) 1
set FormProgram.TextT(1) -1
menu mnuSimulate
set FormProgram.TextT(1) 1
set FormProgram.TextEto(2) 25
menu mnuSimulate
dialog back.csv
menu mnuLoadProgram
dialog words.csv
menu mnuLoadProgram
dialog empty.csv
menu mnuLoadProgram
dialog missing.csv
menu mnuLoadProgram
