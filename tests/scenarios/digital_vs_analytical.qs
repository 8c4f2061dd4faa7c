# The same reversible linear sweep by the digital and by the analytical simulation: Fe+3 + e =
# Fe+2 and mechanism 1 with the same constants (E0 0.1 V, ks 1e4 cm/s, D 1e-5 cm2/s, 1 mM), a
# planar electrode of 1 cm2, 0.3 -> -0.3 V at 0.1 V/s in 1 mV steps. Both curves are exported;
# digital_vs_analytical.check finds them within 2 % of the peak current of each other at every
# point. The analytical peak lies at the point 0.072 V, next to the textbook 0.07151 V, and is
# Randles-Sevcik's 2.6860E-4 A for the pre-equilibrated solution (the digital peak of this run,
# 2.6861E-4 A at 0.072 V, is found by digital_accuracy).
menu mnuInstrument
set FormIns.Estep 0.001
set FormIns.V 0.1
menu mnuSimulate
model NumberOfPoints
dialog digital.csv
menu mnuExport
menu mnuMechamism
click FormMech.CheckDigital
menu mnuSimulate
model DigitalSimulation
model NumberOfPoints
menu mnuFindPeak
dialog analytical.csv
menu mnuExport
result
