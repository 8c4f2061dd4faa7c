# Impedance of mechanism 1 (A + e = B, ks = 1e4 cm/s, E0' = 0.1 V, 1 mM A, no B (pre-equilibration
# off), D = 1e-5 cm2/s, 1 cm2, 25 C) at a planar electrode held at E1/2 = 0.1 V, with
# Ru = 50 ohm and Cd = 20 uF, one frequency a decade from 100 kHz to 1 mHz.
#
# The Randles circuit, by hand with RT = 8.31441 x 298.14 = 2478.86 J/mol, F = 96484.6 C/mol:
#   at E1/2 the surface holds 0.5 mM of A and of B, so
#   sigma = 2 sqrt2 RT / (F^2 A C sqrt D) = 238.1665 ohm s^-1/2,
#   Rct = RT / (F^2 A ks C/2) = 5.3256e-5 ohm;
#   Z = Ru + 1 / (j w Cd + 1 / (Rct + sigma w^-1/2 (1 - j))), w = 2 pi f:
#   100 kHz: 50.008107 - 0.069325 j; 10 Hz: 77.86284 - 29.96684 j;
#   1 mHz: 3052.360 - 3004.627 j ohm.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuTech
caption FormTech.optTech(10)
click FormTech.optTech(10)
menu mnuInstrument
get FormIns.TextEdc
get FormIns.optElectrode(4)
set FormIns.txtRu 50
set FormIns.Cdl 2e-5
set FormIns.TextFfrom 100000
set FormIns.TextFto 0.001
set FormIns.TextFdecade 1
menu mnuSimulate
model Technique
model SpectrumFrequencies
model NumberOfPoints
# The store: the frequency, then Z' at points 1..9 and Z'' at points 10..18.
curves
# 100 kHz, 10 Hz and 1 mHz as the hand calculation above.
model CurrentY(1,1)
model CurrentY(10,1)
model CurrentY(5,1)
model CurrentY(14,1)
model CurrentY(9,1)
model CurrentY(18,1)
echo a slow couple, ks = 1e-3 cm/s: Rct = RT / (F^2 A ks C/2) = 532.556 ohm in series
# By hand: 100 kHz 50.0000119 - 0.0795775 j (Cd shorts Rct); 1 mHz 3584.5144 - 3005.0647 j.
set FormExpr.ks(1) 1e-3
menu mnuSimulate
model CurrentY(1,1)
model CurrentY(10,1)
model CurrentY(9,1)
model CurrentY(18,1)
echo a thin film of 10 um holds its charge: the phase tends to -90 degrees at 1 mHz
# By hand: the layer's capacitance F^2 A L / (RT (1/cO + 1/cR)) = 9.38868e-4 F at cO = cR =
# 0.5 mM, with Cd 9.58868e-4 F: Z'' = -1 / (w C) = -16598.2 ohm at 10 mHz (the layer adds
# 2e-5 of it), -165982.2 at 1 mHz,
# while Z' stays at Ru + Rct + the layer's resistance.
click FormIns.optElectrode(9)
set FormIns.leng 0.001
menu mnuSimulate
model CurrentY(8,1)
model CurrentY(17,1)
model CurrentY(9,1)
model CurrentY(18,1)
echo the microdisc has no exact frequency-domain form: the form does not offer it
get FormIns.optElectrode(4)
