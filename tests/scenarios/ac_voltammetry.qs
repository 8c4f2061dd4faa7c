# AC voltammetry (technique 9) of the default A + e = B (1 mM, E0 0.1 V, reversible) swept from
# 0.3 V to -0.1 V at 50 mV/s under a sine of 5 mV at 10 Hz: 8 s, 64 points a period. At E1/2
# (point 2560) the fundamental is Smith's n^2F^2AC dE (wD)^1/2 / 4RT = 117.62 uA (-0.03 %) and
# the second harmonic nearly vanishes between its lobes; the Option form shows the DC component,
# a harmonic, all eight and the power spectrum, and a harmonic against time; the analytical
# model refuses the technique; a session keeps the AC boxes.
menu mnuTech
click FormTech.optTech(9)
caption FormTech.optTech(9)
menu mnuInstrument
get FormIns.TextF
get FormIns.TextAmplitude
caption FormIns.LabelAmplitude
set FormIns.Estart 0.3
set FormIns.Eend -0.1
set FormIns.V 0.05
set FormIns.TextF 10
set FormIns.TextAmplitude 5
select FormIns.ComboScan "single"
menu mnuSimulate
model Technique
model NumberOfPoints
model PotentialX(2560)
model AcAmplitude
model AcFrequency
model AcHarmonics(2560,1)
model AcHarmonics(2560,2)
model AcHarmonics(2127,2)
model AcHarmonics(2560,0)
model AcSpectrumPoints
model AcSpectrum(81,1)
model AcSpectrum(81,2)
menu mnuOption
select formOption.ComboY "harmonic 1"
click formOption.cmdOK
model CurveCount
model CurrentY(2560,1)
menu mnuFindPeak
result
menu mnuOption
select formOption.ComboY "harmonics 1-8"
click formOption.cmdOK
model CurveCount
model CurrentY(2560,3)
menu mnuOption
select formOption.ComboY "DC component"
click formOption.cmdOK
model CurrentY(2560,1)
menu mnuOption
select formOption.ComboY "power spectrum"
click formOption.cmdOK
model PlotXMax
menu mnuOption
select formOption.ComboX "time t"
select formOption.ComboY "harmonic 1"
click formOption.cmdOK
model PlotXMax
model PointTimes(2560)
menu mnuOption
select formOption.ComboX "potential E"
select formOption.ComboY "current I"
click formOption.cmdOK
model CurrentY(2560,1)
echo impossible programs
set FormIns.TextF 0
menu mnuSimulate
set FormIns.TextF 1000
menu mnuSimulate
set FormIns.TextF 10
echo the analytical model
menu mnuMechamism
click FormMech.CheckDigital
menu mnuSimulate
echo a session keeps the AC boxes
dialog ac.qs
menu mnuSaveSession
set FormIns.TextAmplitude 50
set FormIns.TextF 3
dialog ac.qs
menu mnuOpenSession
get FormIns.TextAmplitude
get FormIns.TextF
model AcAmplitude
model AcFrequency
