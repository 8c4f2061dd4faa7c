# DC waves of the analytical model at a microdisc of radius a = 5 um, compared with the
# chronoamperometry of a disc (mechanism 1, A + e = B, ks = 1e4 cm/s, E0' = 0.1 V, 1 mM A, no B
# (pre-equilibration off), D = 1e-5 cm2/s, 25 C, 1 mV steps). The disc is treated as the
# hemisphere with the same steady current: r0 = 2a/pi = 3.18310e-4 cm, area 2 pi r0^2 =
# 8a^2/pi = 6.36620e-7 cm2; the current on the plateau is then the spherical one,
#   I = nFAC D (1/sqrt(pi D t) + 1/r0) = 4nFDCa (1 + 4 / (pi^(3/2) sqrt(tau))), tau = 4Dt/a^2.
#
# Textbook values, by hand: 4nFDCa = 4 x 96484.6 x 1e-5 x 1e-6 x 5e-4 = 1.929692e-9 A.
# Shoup-Szabo: I / 4nFDCa = 0.7854 + 0.8862 tau^-1/2 + 0.2146 exp(-0.7823 tau^-1/2).
#   td = 0.5 s, tau = 80: Shoup-Szabo 1.081108 (8.1 % above), 2.086205e-9 A; spherical
#     1.080314, 2.084673e-9 A.
#   td = 0.125 s, tau = 20: Shoup-Szabo 1.163721, 2.245623e-9 A; spherical 1.160628,
#     2.239654e-9 A.
#   td = 100 s, tau = 16000: Shoup-Szabo 1.005683, 1.940659e-9 A; spherical 1.005679,
#     1.940650e-9 A.
# The reversible wave is Nernstian (equal D), half its height at E0'.
menu mnuMechamism
click FormMech.CheckDigital
click FormMech.Command1
menu mnuExperimental
click FormExpr.CheckPreEqu
activate MDIForm1
menu mnuTech
click FormTech.optTech(2)
click FormTech.CmdOK
menu mnuInstrument
click FormIns.optElectrode(4)
set FormIns.radius 5e-4
get FormIns.ARE
set FormIns.Estep 0.001
set FormIns.td 0.5
menu mnuSimulate
model TechElectrodeCode
model Radius
model ElectrodeArea
model DropTime
# tau = 80: 2.0846725e-9 A, the spherical current, 0.07 % below Shoup-Szabo, 8.03 % above
# the steady state; half of it at E0' to 1.5e-6 (the finite ks), so the half-wave point
# found is the next one, 0.099 V.
model PotentialX(601)
model CurrentY(601,1)
model PotentialX(201)
model CurrentY(201,1)
menu mnuFindHalfwaveE
# The theoretical value is the steady state 4nFDCa = 1.9297E-9 A (the irreversible line
# halves it).
menu mnuTheoPeak
# tau = 20: 2.2396534e-9 A, 0.27 % below Shoup-Szabo.
set FormIns.td 0.125
menu mnuSimulate
model CurrentY(601,1)
# tau = 16000: 1.9406505e-9 A, both textbook forms within 5e-6 of it.
set FormIns.td 100
menu mnuSimulate
model CurrentY(601,1)
result
