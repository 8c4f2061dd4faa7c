# More points than a curve holds ends the run with a message naming the limit; the program
# carries on.
# no electroactive species: the curves hold only what the driver adds
menu mnuExperimental
set FormExpr.C(1) 0
menu mnuInstrument
set FormIns.Estart 0
set FormIns.Eend 1
set FormIns.Estep 0.1
menu mnuSimulate
model NumberOfPoints
set FormIns.Estep 0.000001
menu mnuSimulate
model FirstPoint
model LastPoint
echo 50001 points a sweep, a cycle needs 100002
set FormIns.Estep 0.00002
select FormIns.ComboScan cycle
menu mnuSimulate
echo a zero step and a zero temperature
set FormIns.Estep 0
menu mnuSimulate
set FormIns.Estep 0.1
set FormIns.txttemp -273.14
menu mnuSimulate
set FormIns.txttemp 25
menu mnuSimulate
model LastPoint
model FOverRT
model RTOverF
echo a cycle of 20002 points fits the store
set FormIns.Estep 0.0001
menu mnuSimulate
model NumberOfPoints
model LastPoint
