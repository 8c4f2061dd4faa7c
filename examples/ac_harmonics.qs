# The manual's picture of AC voltammetry: a quasi-reversible couple (A + e = B, 1 mM A, ks =
# 0.01 cm/s, E0' = 0.1 V) swept from 0.4 V to -0.2 V at 50 mV/s under a sine of 50 mV at 10 Hz,
# digitally; the envelopes of harmonics 1 to 8 against the sweep's potential, written to
# ac_harmonics.png (docs/images/ac_harmonics.png).
menu mnuMechamism
click FormMech.Command1
menu mnuExperimental
click FormExpr.CheckPreEqu
set FormExpr.ks(1) 0.01
activate MDIForm1
menu mnuTech
click FormTech.optTech(9)
click FormTech.CmdOK
menu mnuInstrument
set FormIns.Estart 0.4
set FormIns.Eend -0.2
set FormIns.V 0.05
set FormIns.TextF 10
set FormIns.TextAmplitude 50
select FormIns.ComboScan "single"
menu mnuSimulate
menu mnuOption
select formOption.ComboY "harmonics 1-8"
click formOption.linestyle3(0)
click formOption.linestyle3(1)
click formOption.linestyle3(2)
click formOption.linestyle3(3)
click formOption.linestyle3(4)
click formOption.cmdOK
menu mnuFindPeak
result
plot ac_harmonics.png
