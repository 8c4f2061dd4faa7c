# Marcus-Hush-Chidsey kinetics beside Butler-Volmer: mechanism 1 (A + e = B, E0' 0.1 V, 1 mM A,
# D 1e-5 cm2/s, 1 cm2, 25 C), ks 0.01 cm/s, cycles in 1 mV steps. With lambda (eV) typed,
#   kred = ks I(L, eta) / I(L, 0), kox = kred e^eta, eta = nF(E - E0')/RT, L = lambda F/RT,
#   I(L, eta) = integral of exp(-(x - L - eta)^2 / (4L)) / (1 + e^x) dx over the electrode's states.
#
# 1. lambda 50 eV is Butler-Volmer with alpha 0.5 (ln kred = -eta/2 - eta^2/(4L), the second
#    term 0.04 % at the peaks): 0.1 V/s from 0.5 V to -0.3 V and back (psi 0.90), both peaks
#    within 0.01 % in both models.
menu mnuMechamism
click FormMech.CheckDigital
menu mnuInstrument
set FormIns.Estart 0.5
set FormIns.Eend -0.3
set FormIns.Estep 0.001
set FormIns.V 0.1
select FormIns.ComboScan cycle
menu mnuExperimental
set FormExpr.ks(1) 0.01
echo analytical, Butler-Volmer, alpha 0.5
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
echo analytical, lambda 50 eV
set FormExpr.lambda(1) 50
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
click FormMech.CheckDigital
echo digital, lambda 50 eV
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
echo digital, Butler-Volmer, alpha 0.5
set FormExpr.lambda(1) 0
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
# 2. The scan rate: at 0.1, 1, 10 and 100 V/s (psi = 0.90, 0.29, 0.090, 0.029) the peaks of
#    Butler-Volmer kinetics separate by 85, 134, 229 and 345 mV, those of lambda 1 eV by 85, 134,
#    230 and 359 mV, those of lambda 0.3 eV by 83, 130, 231 and 381 mV: the Marcus rate falls
#    below Butler-Volmer's on both sides of E0' and levels off at large overpotentials (the
#    transfer coefficient -d ln kred / d eta goes from 0.5 at E0' towards 0 and 1), so its peaks
#    move apart faster with the scan rate, and they are lower and broader. Near E0' (psi ~ 1)
#    the lower, broader peaks sit 1 to 2 mV closer together. Analytical model, 0.9 V to -0.7 V
#    and back.
click FormMech.CheckDigital
set FormIns.Estart 0.9
set FormIns.Eend -0.7
echo Butler-Volmer
set FormExpr.lambda(1) 0
set FormIns.V 0.1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 10
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 100
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
echo lambda 1 eV
set FormExpr.lambda(1) 1
set FormIns.V 0.1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 10
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 100
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
echo lambda 0.3 eV
set FormExpr.lambda(1) 0.3
set FormIns.V 0.1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 1
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 10
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
set FormIns.V 100
menu mnuSimulate
menu mnuFindPeak
result
menu mnuClear
# 3. Theoretical Peak: the quasi-reversible peaks are those of lambda 0.3 eV at 100 V/s, the
#    reversible and irreversible lines Butler-Volmer's.
menu mnuTheoPeak
result
menu mnuClear
# 4. lambda fitted: the cycle of lambda 0.3 eV at 10 V/s taken as the measurement, lambda
#    started from 1 eV within 0.1 to 5 eV.
set FormIns.V 10
menu mnuSimulate
dialog measured.csv
menu mnuExport
dialog measured.csv
menu mnuImport
check FormExpr.CheckFitted(1) off
check FormExpr.CheckFitted(61) on
get FormExpr.TextLambdaMin(1)
get FormExpr.TextLambdaMax(1)
set FormExpr.TextLambdaMax(1) 5
set FormExpr.lambda(1) 1
menu mnuAutoFit
caption FormExpr.CheckFitted(61)
model ChargeLambda(1)
# 5. lambda beyond 0.1 to 50 eV is refused by name (exit status 3).
check FormExpr.CheckFitted(61) off
set FormExpr.lambda(1) 0.05
menu mnuSimulate
set FormExpr.lambda(1) 60
menu mnuSimulate
