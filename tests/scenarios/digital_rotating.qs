# At a rotating disk the flow keeps the diffusion layer thin: the current of a sweep levels off
# at a plateau and stays there, while at a planar electrode it passes a peak and decays.
# Fe+3 + e = Fe+2 (E0 0.1 V, fast, D 1e-5 cm2/s, 0.9996 mM), 0.3 -> -0.5 V at 10 mV/s in 5 mV
# steps, 100 rpm, kinematic viscosity 0.01 cm2/s.
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
model ElectrodeArea
model RotationRate
echo rotating disk at -0.1, -0.3 and -0.5 V: level
model CurrentY(81,1)
model CurrentY(121,1)
model CurrentY(161,1)
menu mnuFindHalfwaveE
result
echo rotating cylinder and hemisphere at -0.5 V: simulated with the disk's flow, which the
echo result window says, with what the real flow gives (Eisenberg's turbulent cylinder
echo correlation at the peripheral velocity, Chin's mean over the hemisphere)
click FormIns.optElectrode(6)
menu mnuSimulate
model ElectrodeArea
model CurrentY(161,1)
click FormIns.optElectrode(7)
menu mnuSimulate
model ElectrodeArea
model CurrentY(161,1)
result
