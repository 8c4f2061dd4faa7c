# Adsorbed species in the digital simulation. A(ads) + e = B(ads), E0' 0 V, Γ 1e-10 mol/cm2 of
# A(ads), 1 cm2, 25 C, cycles from 0.4 V to -0.4 V and back in 1 mV steps.
#
# 1. A fast couple (ks 1e6 1/s) at 0.1 V/s is the reversible surface wave: both peaks at E0',
#    n^2 F^2 A v Γ / (4RT) = 9.388 µA, width at half height 3.53 RT/F = 90.6 mV (Ep/2 - Ep
#    45.3 mV), no separation.
menu mnuMechamism
set FormMech.charge(12) A(ads)
set FormMech.charge(16) B(ads)
menu mnuInstrument
set FormIns.Estart 0.4
set FormIns.Eend -0.4
set FormIns.Estep 0.001
set FormIns.V 0.1
select FormIns.ComboScan cycle
menu mnuExperimental
set FormExpr.ks(1) 1e6
set FormExpr.Eze(1) 0
set FormExpr.Gamma(1) 1e-10
set FormExpr.Gamma(2) 0
echo reversible surface couple
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
# 2. Laviron: ks 100 1/s, alpha 0.5, at 10 and 100 V/s the peaks separate by 98.5 and 305.7 mV
#    (the surface rate law integrated directly: 98.49 and 305.70 mV); in the irreversible limit
#    Epc = E0' - RT/(alpha F) ln(alpha F v / (RT ks)) = -152.9 mV at 100 V/s.
set FormExpr.ks(1) 100
echo Laviron, 10 V/s
set FormIns.V 10
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
echo Laviron, 100 V/s
set FormIns.V 100
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
# 3. Frumkin interactions of the layer, reversible at 0.1 V/s: g 1 (attraction) doubles the peak
#    (n^2 F^2 A v Γ / (RT (4 - 2g)) = 18.78 µA) and narrows it to 38.0 mV; g -1 (repulsion)
#    lowers it to 6.26 µA and broadens it to 145.8 mV.
set FormIns.V 0.1
set FormExpr.ks(1) 1e6
set FormExpr.TextInteraction 1
echo Frumkin g 1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormExpr.TextInteraction -1
echo Frumkin g -1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormExpr.TextInteraction 0
# 4. Adsorption coupled to diffusion: 0.1 mM A in solution adsorbs (A = A(ads), Langmuir, kf
#    0.002 cm/s, kb 1 1/s, Γmax 2e-10 mol/cm2: K C = kf C / (kb Γmax) = 1, half a layer at
#    equilibrium) onto an empty layer while the sweep runs, and is reduced there; B(ads) desorbs
#    (B(ads) = B, kf 10 1/s).
set FormMech.chem(1) A
set FormMech.chem(2) A(ads)
set FormMech.chem(3) B(ads)
set FormMech.chem(4) B
set FormExpr.Gamma(1) 0
set FormExpr.C(3) 1e-4
set FormExpr.kf(1) 0.002
set FormExpr.kb(1) 1
set FormExpr.kf(2) 10
set FormExpr.kb(2) 0
echo adsorption of the reactant
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
model SpeciesName(3)
model SpeciesAdsorbed(3)
model SurfaceConcentrations(400,1)
# 5. Input the layer cannot take.
echo a negative Γ
set FormExpr.Gamma(1) -1e-10
menu mnuSimulate
set FormExpr.Gamma(1) 0
echo g at the phase split
set FormExpr.TextInteraction 2
menu mnuSimulate
set FormExpr.TextInteraction 0
echo an electron transfer between phases
set FormMech.charge(16) B
menu mnuSimulate
echo an adsorption step with one side
set FormMech.charge(16) B(ads)
set FormMech.chem(5) C(ads)
menu mnuSimulate
# 6. Chronocoulometry of the surface couple alone (ks 100 1/s): stepped from 0.3 V to -0.3 V
#    for 1 s, the layer is reduced within the first milliseconds and the charge is n F A Γ =
#    9.6485 µC.
set FormMech.chem(1) 
set FormMech.chem(2) 
set FormMech.chem(3) 
set FormMech.chem(4) 
set FormMech.chem(5) 
menu mnuTech
click FormTech.optTech(7)
set FormIns.Estart 0.3
set FormIns.TextE1 -0.3
set FormIns.TextT1 1
set FormIns.TextTSample 0.01
set FormExpr.ks(1) 100
set FormExpr.Gamma(1) 1e-10
menu mnuSimulate
model SpeciesCount
model PassedCharge(100)
