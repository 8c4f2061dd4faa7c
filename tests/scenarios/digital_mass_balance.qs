# Mass balance at the electrode surface: for Fe+3 + e = Fe+2 with equal D (1e-5 cm2/s) what is
# reduced appears as Fe+2, so the surface concentrations of the two add up to the bulk at every
# point, whatever the kinetics: 0.9996 mM + 0.4159 uM = 1.0000159 mM (1 mM pre-equilibrated at
# E start, as the C init column shows it). A slow charge transfer (ks 1e-3 cm/s) at a planar
# electrode, 0.3 -> -0.3 V and back at 10 mV/s in 5 mV steps.
menu mnuExperimental
set FormExpr.ks(1) 1e-3
menu mnuInstrument
select FormIns.ComboScan cycle
menu mnuSimulate
model SpeciesC(1)
model SpeciesC(2)
echo point 1 (0.3 V)
model SurfaceConcentrations(1,1)
model SurfaceConcentrations(1,2)
echo point 41 (0.1 V, E0)
model SurfaceConcentrations(41,1)
model SurfaceConcentrations(41,2)
echo point 81 (-0.1 V)
model SurfaceConcentrations(81,1)
model SurfaceConcentrations(81,2)
echo point 200 (0.09 V on the way back)
model SurfaceConcentrations(200,1)
model SurfaceConcentrations(200,2)
echo point 242 (0.3 V, the end)
model SurfaceConcentrations(242,1)
model SurfaceConcentrations(242,2)
