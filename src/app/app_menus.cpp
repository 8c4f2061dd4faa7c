#include "app/app.h"

// The menu bar of the main window: each command is named once, by the handler name that
// scripts type ("menu mnuSimulate"), and carries the App method it runs.

namespace qalto {
namespace {

MenuItem MenuSeparator() {
  return {"-", "", true, {}, {}, false};
}

MenuItem Menu(const char* caption, const char* name, bool enabled, std::vector<MenuItem> items) {
  return {caption, name, enabled, std::move(items), {}, false};
}

}  // namespace

std::vector<MenuItem> App::BuildMenus() {
  auto item = [](const char* caption, const char* handler, std::function<void()> action) {
    return MenuItem{caption, handler, true, {}, std::move(action), false};
  };
  auto longItem = [&item](const char* caption, const char* handler, std::function<void()> action) {
    MenuItem built = item(caption, handler, std::move(action));
    built.long_running = true;
    return built;
  };
  return {
      Menu(
          "&File", "mnuFile", true,
          {longItem("&Open Session...", "mnuOpenSession_Click", [this] { mnuOpenSession_Click(); }),
           item("Save Sessio&n...", "mnuSaveSession_Click", [this] { mnuSaveSession_Click(); }),
           item("R&un Script...", "mnuRunScript_Click", [this] { mnuRunScript_Click(); }),
           MenuSeparator(), item("&Save...", "mnuSave_Click", [this] { mnuSave_Click(); }),
           MenuSeparator(),
           longItem("&Import Data...", "mnuImport_Click", [this] { mnuImport_Click(); }),
           item("&Load Potential Program...", "mnuLoadProgram_Click",
                [this] { mnuLoadProgram_Click(); }),
           item("Potential Program from &Data", "mnuProgramFromData_Click",
                [this] { mnuProgramFromData_Click(); }),
           item("&Export Data...", "mnuExport_Click", [this] { mnuExport_Click(); }),
           item("Export &Fit...", "mnuExportFit_Click", [this] { mnuExportFit_Click(); }),
           MenuSeparator(),
           item("&Copy to Clipboard", "mnuCopyto_Click", [this] { mnuCopyto_Click(); }),
           item("&Print", "mnuPrint_Click", [this] { mnuPrint_Click(); }), MenuSeparator(),
           item("E&xit", "mnuExit_Click", [this] { mnuExit_Click(); })}),
      Menu("&Edit", "mnuEdit", true, {item("&Undo", "mnuUndo_Click", [this] { mnuUndo_Click(); })}),
      Menu("&Input", "mnuInput", true,
           {item("&Techniques...", "mnuTech_Click", [this] { mnuTech_Click(); }),
            item("&Mechanism...", "mnuMechamism_Click", [this] { mnuMechamism_Click(); }),
            item("&Instrument...", "mnuInstrument_Click", [this] { mnuInstrument_Click(); }),
            item("&Potential Program...", "mnuProgram_Click", [this] { mnuProgram_Click(); }),
            item("&Chemicals...", "mnuExperimental_Click", [this] { mnuExperimental_Click(); })}),
      Menu(
          "&Run", "mnuRun", true,
          {longItem("&Simulate", "mnuSimulate_Click", [this] { mnuSimulate_Click(); }),
           longItem("&Check Accuracy", "mnuAccuracy_Click", [this] { mnuAccuracy_Click(); }),
           MenuSeparator(),
           longItem("&Manual Fit", "mnuManualFit_Click", [this] { mnuManualFit_Click(); }),
           longItem("&Auto Fit", "mnuAutoFit_Click", [this] { mnuAutoFit_Click(); }),
           MenuSeparator(),
           longItem("Manual Se&parate", "mnuManualSeparate_Click",
                    [this] { mnuManualSeparate_Click(); }),
           longItem("Auto S&eparate", "mnuAutoSeparate_Click", [this] { mnuAutoSeparate_Click(); }),
           MenuSeparator(),
           item("Add Curve to G&lobal Fit", "mnuGlobalAdd_Click", [this] { mnuGlobalAdd_Click(); }),
           longItem("&Global Fit", "mnuGlobalFit_Click", [this] { mnuGlobalFit_Click(); }),
           item("Clea&r Global Curves", "mnuGlobalClear_Click", [this] { mnuGlobalClear_Click(); }),
           item("Show Resid&uals", "mnuShowResiduals_Click",
                [this] { mnuShowResiduals_Click(); })}),
      Menu("&Display", "mnuDisplay", false,
           {item("&Option...", "mnuOption_Click", [this] { mnuOption_Click(); }),
            item("&Plot", "mnuPlot_Click", [this] { mnuPlot_Click(); }),
            item("&Next Curve", "mnuNextCurve_Click", [this] { mnuNextCurve_Click(); }),
            item("&Time", "mnuTime_Click", [this] { mnuTime_Click(); }),
            item("&Clear", "mnuClear_Click", [this] { mnuClear_Click(); })}),
      Menu(
          "&Analyze", "mnuAnalyze", false,
          {item("&Find Peak", "mnuFindPeak_Click", [this] { mnuFindPeak_Click(); }),
           item("Find &Halfwave E", "mnuFindHalfwaveE_Click", [this] { mnuFindHalfwaveE_Click(); }),
           item("&Theoretical Peak", "mnuTheoPeak_Click", [this] { mnuTheoPeak_Click(); }),
           MenuSeparator(),
           item("&Semi-differentiate", "mnuSemi_Click", [this] { mnuSemi_Click(); }),
           item("S&emi-integrate", "mnuSemiInte_Click", [this] { mnuSemiInte_Click(); }),
           item("&Differentiate", "mnuDerivative_Click", [this] { mnuDerivative_Click(); }),
           item("&Integrate", "mnuIntegral_Click", [this] { mnuIntegral_Click(); }),
           MenuSeparator(), item("&Log((Id-I)/I)", "mnuLog_Click", [this] { mnuLog_Click(); }),
           item("&Cottrell", "mnuCottrell_Click", [this] { mnuCottrell_Click(); }),
           item("A&nson", "mnuAnson_Click", [this] { mnuAnson_Click(); }), MenuSeparator(),
           Menu("&X Data", "mnuXData", true,
                {item("1000X", "mnu1000X_Click", [this] { ScalePotentials(1000); }),
                 item("10X", "mnu10X_Click", [this] { ScalePotentials(10); }),
                 item("0.1X", "mnu01X_Click", [this] { ScalePotentials(0.1); }),
                 item("0.001X", "mnu0001X_Click", [this] { ScalePotentials(0.001); })}),
           Menu("&Y Data", "mnuYData", true,
                {item("1000Y", "mnu1000Y_Click", [this] { ScaleCurrentCurve(1000); }),
                 item("10Y", "mnu10Y_Click", [this] { ScaleCurrentCurve(10); }),
                 item("0.1Y", "mnu01Y_Click", [this] { ScaleCurrentCurve(0.1); }),
                 item("0.001Y", "mnu0001Y_Click", [this] { ScaleCurrentCurve(0.001); }),
                 item("-Y", "mnuMinusY_Click", [this] { ScaleCurrentCurve(-1); })}),
           MenuSeparator(), item("Reverse", "mnuMinusX_Click", [this] { mnuMinusX_Click(); })}),
      Menu("&Help", "mnuHelp", true,
           {item("&Homepage", "mnuHomepage_Click", [this] { mnuHomepage_Click(); }),
            item("&Manual", "mnuManual_Click", [this] { mnuManual_Click(); }),
            item("&About...", "mnuAbout_Click", [this] { mnuAbout_Click(); })}),
  };
}

}  // namespace qalto
