# At a rotating disk the flow keeps the diffusion layer thin: the current of a sweep levels off
# at a plateau and stays there, while at a planar electrode it passes a peak and decays.
# Fe+3 + e = Fe+2 (E0 0.1 V, fast, D 1e-5 cm2/s, 0.9996 mM), 0.3 -> -0.5 V at 10 mV/s in 5 mV
# steps, 100 rpm, kinematic viscosity 0.01 cm2/s (the model's area and rotation rate:
# analytical_dc_rotating_disk).
# The plateau is Levich's 0.620 n F A D^2/3 w^1/2 nu^-1/6 C (4.8378E-5 A for the 0.250009 cm2 disk
# below; 4.8417E-5 A with the exact 0.62045 and the 0.9996 mM left at E start).
menu mnuInstrument
set FormIns.Eend -0.5
menu mnuSimulate
echo planar electrode: a peak, then the current decays
model CurrentY(81,1)
model CurrentY(121,1)
model CurrentY(161,1)
click FormIns.optElectrode(8)
menu mnuSimulate
model Radius
echo rotating disk at -0.1, -0.3 and -0.5 V: level
model CurrentY(81,1)
model CurrentY(121,1)
model CurrentY(161,1)
menu mnuFindHalfwaveE
result
# Rotating cylinder and hemisphere: a planar layer whose flow gives each its accepted
# mass-transfer coefficient k, the plateau n F A k C, and one line in the result window with the
# correlation and its validity. Cylinder (r 0.2821 cm, length 0.01 cm, A 0.0177249 cm2):
# Eisenberg, Tobias and Wilke's k = 0.0791 U^0.7 d^-0.3 nu^-0.344 D^0.644 = 5.8891E-4 cm/s at
# U = w r = 2.954 cm/s, d = 0.5642 cm: 1.00674E-6 A for 0.9996 mM, at Re = U d / nu = 167, below
# the correlation's range. Hemisphere (A = 2 pi r2 = 0.500018 cm2): Chin's mean k = 0.474
# D^2/3 w^1/2 nu^-1/6 = 1.53388E-3 cm/s, 7.39712E-5 A; its layer D / k is 2.3 % of the radius.
echo rotating cylinder and hemisphere at -0.5 V: n F A k C of their mass transfer
click FormIns.optElectrode(6)
menu mnuSimulate
model ElectrodeArea
model CurrentY(161,1)
click FormIns.optElectrode(7)
menu mnuSimulate
model ElectrodeArea
model CurrentY(161,1)
result
# The analytical DC wave at the hemisphere and the cylinder (chosen with the digital simulation
# on, the analytical one offering them in no window) is the steady Koutecky-Levich wave with the
# same k: the same plateaus, 7.39712E-5 and 1.00674E-6 A; Theoretical Peak gives n F A k C for
# the 1 mM typed, 7.400E-5 and 1.007E-6 A.
menu mnuTech
click FormTech.optTech(2)
menu mnuMechamism
click FormMech.CheckDigital
menu mnuSimulate
model TechElectrodeCode
model CurrentY(161,1)
menu mnuTheoPeak
click FormMech.CheckDigital
click FormIns.optElectrode(6)
click FormMech.CheckDigital
menu mnuSimulate
model TechElectrodeCode
model CurrentY(161,1)
menu mnuTheoPeak
result
