# Sessions: saving changes neither the experiment nor the curves, a session comes back whole and
# saves to the same bytes, and a session that tries to answer a dialog and export is refused whole.
menu mnuTech
click FormTech.optTech(4)
menu mnuSimulate
model CurrentY(30,1)
dialog dp.qs
menu mnuSaveSession
menu mnuSimulate
model Technique
model CurrentY(30,1)
menu mnuInstrument
set FormIns.Epulse -0.1
set FormIns.Noise "cv $$HOME.txt"
echo Open Session asks before it discards the work since the save
dialog dp.qs
menu mnuOpenSession
get FormIns.Epulse
get FormIns.Noise
model Technique
model CurveCount
model CurrentY(30,1)
dialog again.qs
menu mnuSaveSession
echo a crafted session changes nothing and names its line
menu mnuInstrument
set FormIns.Noise "cv $$HOME.txt"
dialog crafted.qs
menu mnuOpenSession
get FormIns.Noise
get FormIns.Epulse
echo no answer was left behind: the Export dialog is cancelled
menu mnuExport
echo Run Script shows the lines that write files and asks
answer no
dialog crafted.qs
menu mnuRunScript
