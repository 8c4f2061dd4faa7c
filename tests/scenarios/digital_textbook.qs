# Digital simulation, planar reversible sweep 0.3 -> -0.3 V at 0.1 V/s of Fe+3 + e = Fe+2
# (E0 0.1 V, D 1e-5 cm2/s, 0.9996 mM after pre-equilibration), 1 cm2, 25 C: Randles-Sevcik
# 268.65 uA x 0.9996 = 2.6854E-4 A at E1/2 - 28.49 mV = 0.0715 V, the same at 2, 0.5 and
# 0.25 mV steps as at digital_accuracy's 1 mV (the error must not grow as the step shrinks).
menu mnuInstrument
set FormIns.V 0.1
set FormIns.Estep 0.002
menu mnuSimulate
menu mnuFindPeak
set FormIns.Estep 0.0005
menu mnuSimulate
menu mnuFindPeak
set FormIns.Estep 0.00025
menu mnuSimulate
menu mnuFindPeak
# Ohmic drop of 50 ohm solved within each step: a smooth peak of 260.6 uA (the convolution
# solution with the same drop: 260.70 uA x 0.9996 = 2.606E-4 A), about 13 mV later.
set FormIns.Estep 0.001
set FormIns.txtRu 50
menu mnuSimulate
menu mnuFindPeak
set FormIns.txtRu 0
# Sphere of radius 0.282 cm (area 4 pi r^2 = 0.9993 cm2): the planar peak plus the spherical
# term n F A D C / r / (1 + exp(f (Ep - E1/2))), about 271 uA.
click FormIns.optElectrode(2)
set FormIns.radius 0.282
menu mnuSimulate
menu mnuFindPeak
result
