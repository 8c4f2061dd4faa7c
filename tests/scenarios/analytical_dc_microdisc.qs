# DC waves of the analytical model at a microdisc of radius a = 5 um, compared with the
# chronoamperometry of a disc (mechanism 1, A + e = B, ks = 1e4 cm/s, E0' = 0.1 V, 1 mM A, no B
# (pre-equilibration off), D = 1e-5 cm2/s, 25 C, 1 mV steps). The Nernstian couple with equal D
# has the same surface concentrations all over the disc, so each drop carries the disc's own
# transient I = 4nFDCa f(tau), tau = 4Dt/a^2, times the share of A reduced at the potential.
# The model keeps the radius 2a/pi = 3.18310e-4 cm of the hemisphere with the same steady state
# and its area 8a^2/pi = 6.36620e-7 cm2 (the area box shows pi a^2).
#
# Textbook values, by hand: 4nFDCa = 4 x 96484.6 x 1e-5 x 1e-6 x 5e-4 = 1.929692e-9 A.
# Long times: f = 1 + 0.71835 tau^-1/2 + 0.05626 tau^-3/2; Shoup-Szabo's interpolation
# 0.7854 + 0.8862 tau^-1/2 + 0.2146 exp(-0.7823 tau^-1/2) is within 0.6 % of it.
#   td = 0.5 s, tau = 80: f 1.080395, 2.084831e-9 A (Shoup-Szabo 1.081108).
#   td = 0.125 s, tau = 20: f 1.161256, 2.240867e-9 A (Shoup-Szabo 1.163721).
#   td = 100 s, tau = 16000: f 1.005679, 1.940650e-9 A.
# The reversible wave is Nernstian (equal D), half its height at E0'.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuTech
click FormTech.optTech(2)
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
# tau = 80: 2.0848233e-9 A, the long-time series within 4e-6, 0.07 % below Shoup-Szabo, 8.04 %
# above the steady state; half of it at E0'.
model PotentialX(601)
model CurrentY(601,1)
model PotentialX(201)
model CurrentY(201,1)
menu mnuFindHalfwaveE
# The theoretical value is the steady state 4nFDCa = 1.9297E-9 A (the irreversible line
# halves it).
menu mnuTheoPeak
# tau = 20: 2.2408578e-9 A, the series within 4e-6, 0.21 % below Shoup-Szabo.
set FormIns.td 0.125
menu mnuSimulate
model CurrentY(601,1)
# tau = 16000: 1.9406505e-9 A, the series within 1e-7.
set FormIns.td 100
menu mnuSimulate
model CurrentY(601,1)
result
