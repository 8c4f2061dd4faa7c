# Each Simulate draws fresh noise (the run repeats exactly); without overlap every run goes to
# curve 1.
# no electroactive species: the curves hold only what the driver adds
menu mnuExperimental
set FormExpr.C(1) 0
menu mnuInstrument
set FormIns.Estart 0
set FormIns.Eend 0.1
set FormIns.Estep 0.01
set FormIns.Noise 1e-6
menu mnuSimulate
curves
menu mnuSimulate
curves
model CurveCount
model CurrentCurve
model TargetCurve
echo baseline from 1e-6 to 2e-6 without noise
set FormIns.Noise 0
set FormIns.TxtI0 1e-6
set FormIns.TxtI1 2e-6
menu mnuSimulate
curves
