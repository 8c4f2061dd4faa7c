# A microdisc of 5 um radius at a slow scan reaches a steady state: Fe+3 + e = Fe+2 (E0 0.1 V,
# fast, D 1e-5 cm2/s, 0.9996 mM after pre-equilibration), 0.3 -> -0.3 V and back at 10 mV/s.
# The disc is simulated on its own two-dimensional grid (oblate spheroidal coordinates, the edge
# resolved); the model keeps the radius 2 r / pi of the hemisphere with the same steady state
# (analytical_dc_microdisc prints it). The plateau is 4 n F D C r = 1.9289E-9 A with the disc's
# transient on top of it: 1.9464E-9 A at -0.3 V, where the superposition of the disc's step
# responses (the analytical model, exact for this Nernstian couple) gives 1.9463E-9 A. Forward
# and return sweep run along the same sigmoidal wave, with its half-wave potential at E0.
menu mnuInstrument
click FormIns.optElectrode(4)
set FormIns.radius 5e-4
select FormIns.ComboScan cycle
menu mnuSimulate
model NumberOfPoints
echo forward sweep at -0.1, -0.2 and -0.3 V
model CurrentY(81,1)
model CurrentY(101,1)
model CurrentY(121,1)
echo return sweep at -0.3, -0.2 and -0.1 V
model CurrentY(122,1)
model CurrentY(142,1)
model CurrentY(162,1)
echo half-way up the wave, at E0, forward and back
model CurrentY(41,1)
model CurrentY(202,1)
menu mnuFindHalfwaveE
result
