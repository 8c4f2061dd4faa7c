# The digital simulation against textbook values, each with the Run menu's Check Accuracy: the
# same run on a grid with half the first box and half the expansion factor and with every time
# step halved, whose largest change is printed relative to the peak current.
# Fe+3 + e = Fe+2 (E0 0.1 V, ks 1e4 cm/s, D 1e-5 cm2/s, 0.9996 mM after pre-equilibration at
# E start), planar electrode of 1 cm2, 25 C.
# Cyclic voltammogram at 0.1 V/s in 1 mV steps: Randles-Sevcik 0.446295 n F A C sqrt(n F v D /
# RT) = 2.6854E-4 A, the peak 28.5 mV beyond E0.
menu mnuInstrument
set FormIns.Estep 0.001
set FormIns.V 0.1
menu mnuSimulate
menu mnuFindPeak
menu mnuAccuracy
# Differential pulse, drops of 1 s, pulses of -50 mV for 50 ms: by superposition of Cottrell
# responses the peak is 346.33 uA x 0.9996 = 3.4619E-4 A, 25 mV positive of E0 (2 mV steps).
menu mnuTech
click FormTech.optTech(4)
set FormIns.Estep 0.002
set FormIns.td 1
set FormIns.tp 0.05
menu mnuSimulate
menu mnuFindPeak
menu mnuAccuracy
set FormIns.tp 0.025
# Square wave, 20 Hz (half period tp 25 ms), 50 mV peak to peak (nEsw 25 mV), 10 mV steps:
# the net current forward minus reverse peaks at dPsi 0.5798 n F A C sqrt(D / (pi tp)) =
# 6.310E-4 A at E0. Beside the net current (the total, column 2) the forward and the reverse
# currents stay in columns 3 and 4: at E0 (point 21) the forward one is cathodic, the reverse
# one anodic. Export Data writes them after the net current (digital_accuracy.check: forward -
# reverse = net on every line); the import reads the net current back, and a curve that is no
# longer the run's net current is exported alone.
click FormTech.optTech(5)
set FormIns.Estep 0.01
menu mnuSimulate
menu mnuFindPeak
menu mnuAccuracy
model ReactionCurrents(21,2)
model ReactionCurrents(21,3)
model ReactionCurrents(21,4)
dialog square_wave.csv
menu mnuExport
dialog square_wave.csv
menu mnuImport
model CurrentY(21,1)
dialog imported.csv
menu mnuExport
# The analytical simulation has nothing to refine.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuAccuracy
result
