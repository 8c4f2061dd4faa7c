# Impedance of a catalytic cycle (mechanism 8: A + e = B, B -> A with kf 50 /s; 1 mM A, no B,
# ks = 5e-3 cm/s, E0' = 0.1 V, D = 1e-5 cm2/s, 1 cm2, 25 C), planar, held at E dc = E0', no Ru
# or Cd, one frequency a decade from 1 kHz to 1 mHz.
#
# By hand: A + B stays 1 mM at the surface and B decays in the reaction layer, so both species
# see the Gerischer element G = 1/sqrt((jw + k) D), and at E0' (kf = kb = ks)
#   Z = (1 + 2 ks G) / (F nf ks C/2), nf = F/RT = 38.9235 /V:
#   1 kHz: 109.527809 - 2.992602 j; 1 mHz: 154.144597 - 0.002993 j ohm
# (a resistance at low frequency: the cycle's steady state, no Warburg line). A complex
# reaction (mechanism 9, second order) is refused.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.mech(8)
menu mnuExperimental
click FormExpr.CheckPreEqu
set FormExpr.ks(1) 0.005
set FormExpr.kf(1) 50
set FormExpr.kb(1) 0
menu mnuTech
click FormTech.optTech(10)
menu mnuInstrument
set FormIns.txtRu 0
set FormIns.Cdl 0
set FormIns.TextFfrom 1000
set FormIns.TextFto 0.001
set FormIns.TextFdecade 1
menu mnuSimulate
model SpectrumFrequencies
model CurrentY(1,1)
model CurrentY(8,1)
model CurrentY(7,1)
model CurrentY(14,1)
echo the complex reaction
click FormMech.mech(9)
menu mnuSimulate
model SpectrumFrequencies
