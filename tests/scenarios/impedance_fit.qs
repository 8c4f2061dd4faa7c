# A measured spectrum fitted on Z' and Z'' together: the spectrum of a slow couple (mechanism 1,
# ks = 1e-3 cm/s, 1 mM A, E dc = E1/2 = 0.1 V, Ru = 50 ohm, Cd = 20 uF, 100 kHz to 10 mHz, five
# frequencies a decade) is exported, imported as measured data, and fitted for ks, Ru and Cd
# from ks = 0.01 cm/s, Ru = 30 ohm and Cd = 40 uF. Rct = RT / (F^2 A ks C/2) = 532.56 ohm.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
check FormExpr.CheckFitted(1) off
set FormExpr.ks(1) 1e-3
menu mnuTech
click FormTech.optTech(10)
menu mnuInstrument
set FormIns.txtRu 50
set FormIns.Cdl 2e-5
set FormIns.TextFto 0.01
menu mnuSimulate
dialog spectrum.csv
menu mnuExport
dialog spectrum.csv
menu mnuImport
model SpectrumFrequencies
model NumberOfPoints
model CurrentY(1,1)
model CurrentY(36,1)
echo start ks = 0.01 cm/s, Ru = 30 ohm, Cd = 40 uF
check FormExpr.CheckFitted(11) on
set FormExpr.ks(1) 0.01
check FormIns.CheckFitted(91) on
check FormIns.CheckFitted(92) on
set FormIns.txtRu 30
set FormIns.Cdl 4e-5
menu mnuAutoFit
caption FormExpr.CheckFitted(11)
caption FormIns.CheckFitted(91)
caption FormIns.CheckFitted(92)
model CurveCount
model LastPoint
