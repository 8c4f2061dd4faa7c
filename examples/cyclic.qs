# A cyclic voltammogram of the default experiment: the Fe3+/Fe2+ couple at a planar electrode,
# swept from 0.3 V to -0.3 V and back at 10 mV/s.
menu mnuInstrument
select FormIns.ComboScan cycle
click FormIns.cmdOK
menu mnuSimulate
echo points in the cycle:
model NumberOfPoints
echo potential (V) and current (A) of every point:
curves
