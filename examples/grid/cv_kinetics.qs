# One task of a kinetic grid: the cyclic voltammogram of the default couple (A + e = B, 1 mM
# at a 1 cm2 planar electrode, 0.3 V to -0.3 V and back at 10 mV/s in 1 mV steps) by digital
# simulation, with the formal potential $E0 (V) and the standard rate constant $ks (cm/s) of
# the run, and its peaks. Run it with qalto-batch --param E0=0.05 --param ks=1e-3, or one row
# of a manifest.
menu mnuInstrument
set FormIns.Estep 0.001
select FormIns.ComboScan cycle
click FormIns.cmdOK
menu mnuExperimental
set FormExpr.Eze(1) $E0
set FormExpr.ks(1) $ks
menu mnuSimulate
menu mnuFindPeak
