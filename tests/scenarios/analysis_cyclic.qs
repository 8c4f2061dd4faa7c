# A reversible cyclic voltammogram of the analytical model (mechanism 1, planar electrode,
# E0' = 0.1 V, 1 mM, D = 1e-5 cm2/s, 1 cm2, 10 mV/s, 1 mV steps): its peaks, and the textbook
# values for the same experiment.
menu mnuMechamism
click FormMech.CheckDigital
activate MDIForm1
menu mnuInstrument
set FormIns.Estep 0.001
select FormIns.ComboScan cycle
menu mnuSimulate
model PlotYMax
model PlotYMin
model SweepPoints
model CurrentY(601,1)
menu mnuFindPeak
model PeakCount
model PeakPotential(1,1)
model PeakCurrent(1,1)
model HalfPeakPotential(1,1)
model PeakPotential(2,1)
model PeakCurrent(2,1)
menu mnuTheoPeak
result
