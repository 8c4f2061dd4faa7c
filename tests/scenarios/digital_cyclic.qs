# Digital simulation of a reversible cyclic voltammogram: the default reaction Fe+3 + e = Fe+2
# (E0 0.1 V, ks 1e4 cm/s, D 1e-5 cm2/s, 1 mM pre-equilibrated at E start) at a planar electrode
# of 1 cm2, 0.3 -> -0.3 V and back at 0.1 V/s in 1 mV steps, 25 C.
# Randles-Sevcik: Ip = 0.4463 F A C sqrt(F v D / RT) = 2.6854E-4 A for C = 0.9996 mM; the
# cathodic peak 28.5 mV beyond E0 (0.0715 V), the peaks 57-61 mV apart around E0.
menu mnuInstrument
set FormIns.Estep 0.001
set FormIns.V 0.1
select FormIns.ComboScan cycle
menu mnuSimulate
model DigitalSimulation
model DropTime
model NumberOfPoints
model SpeciesC(1)
model SpeciesC(2)
menu mnuFindPeak
result
echo no second-order reaction: no iteration
model MaxIteration
