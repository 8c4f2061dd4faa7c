# The total current of the digital simulation: with R u = 0 and C d = 0 it is the sum of the
# currents of the charge reactions; C d adds the charging current C d v with the sign of the
# sweep. Two couples, Fe+3 + e = Fe+2 (E0 0.1 V) and C + 2e = D (E0 -0.1 V), 1 mM each, planar
# electrode of 1 cm2, 0.3 -> -0.3 V and back at 10 mV/s in 5 mV steps.
menu mnuMechamism
set FormMech.charge(22) C
set FormMech.charge(24) 2
set FormMech.charge(26) D
menu mnuExperimental
set FormExpr.C(3) 1e-3
menu mnuInstrument
select FormIns.ComboScan cycle
menu mnuSimulate
model ChargeReactionCount
model TotalCurrentColumn
echo point 41 (0.1 V): the first wave only
model ReactionCurrents(41,1)
model ReactionCurrents(41,2)
model ReactionCurrents(41,3)
echo point 101 (-0.2 V): both waves
model ReactionCurrents(101,1)
model ReactionCurrents(101,2)
model ReactionCurrents(101,3)
echo point 200 (0.09 V on the way back)
model ReactionCurrents(200,1)
model ReactionCurrents(200,2)
model ReactionCurrents(200,3)
echo C d = 10 uF adds C d v = 1E-7 A toward negative potentials, -1E-7 A on the way back
set FormIns.Cdl 1e-5
menu mnuSimulate
model ReactionCurrents(101,1)
model ReactionCurrents(101,2)
model ReactionCurrents(101,3)
model ReactionCurrents(200,1)
model ReactionCurrents(200,2)
model ReactionCurrents(200,3)
