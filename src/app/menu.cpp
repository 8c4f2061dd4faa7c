#include "app/menu.h"

namespace qalto {
namespace {

MenuItem Item(const char* caption, const char* handler) {
  return {caption, handler, true, {}};
}
MenuItem Separator() {
  return {"-", "", true, {}};
}

}  // namespace

std::vector<MenuItem> BuildMenuTree() {
  return {
      {"&File",
       "mnuFile",
       true,
       {Item("&Save...", "mnuSave_Click"), Separator(), Item("&Import Data...", "mnuImport_Click"),
        Item("&Export Data...", "mnuExport_Click"), Separator(),
        Item("&Copy to Clipboard", "mnuCopyto_Click"), Item("&Print", "mnuPrint_Click"),
        Separator(), Item("E&xit", "mnuExit_Click")}},
      {"&Input",
       "mnuInput",
       true,
       {Item("&Techniques...", "mnuTech_Click"), Item("&Mechanism...", "mnuMechamism_Click"),
        Item("&Instrument...", "mnuInstrument_Click"),
        Item("&Chemicals...", "mnuExperimental_Click")}},
      {"&Run",
       "mnuRun",
       true,
       {Item("&Simulate", "mnuSimulate_Click"), Item("&Check Accuracy", "mnuAccuracy_Click"),
        Separator(), Item("&Manual Fit", "mnuManualFit_Click"),
        Item("&Auto Fit", "mnuAutoFit_Click"), Separator(),
        Item("M&anual Separate", "mnuManualSeparate_Click"),
        Item("Auto S&eparate", "mnuAutoSeparate_Click"), Separator(),
        Item("Add Curve to G&lobal Fit", "mnuGlobalAdd_Click"),
        Item("&Global Fit", "mnuGlobalFit_Click"),
        Item("Clea&r Global Curves", "mnuGlobalClear_Click")}},
      {"&Display",
       "mnuDisplay",
       false,
       {Item("&Option...", "mnuOption_Click"), Item("&Plot", "mnuPlot_Click"),
        Item("&Next Curve", "mnuNextCurve_Click"), Item("&Time", "mnuTime_Click"),
        Item("&Clear", "mnuClear_Click")}},
      {"&Analyze",
       "mnuAnalyze",
       false,
       {Item("&Find Peak", "mnuFindPeak_Click"),
        Item("Find &Halfwave E", "mnuFindHalfwaveE_Click"),
        Item("&Theoretical Peak", "mnuTheoPeak_Click"),
        Separator(),
        Item("&Semi-differentiate", "mnuSemi_Click"),
        Item("S&emi-integrate", "mnuSemiInte_Click"),
        Item("&Differentiate", "mnuDerivative_Click"),
        Item("&Integrate", "mnuIntegral_Click"),
        Separator(),
        Item("&Log((Id-I)/I)", "mnuLog_Click"),
        Separator(),
        {"&X Data",
         "mnuXData",
         true,
         {Item("1000X", "mnu1000X_Click"), Item("10X", "mnu10X_Click"),
          Item("0.1X", "mnu01X_Click"), Item("0.001X", "mnu0001X_Click")}},
        {"&Y Data",
         "mnuYData",
         true,
         {Item("1000Y", "mnu1000Y_Click"), Item("10Y", "mnu10Y_Click"),
          Item("0.1Y", "mnu01Y_Click"), Item("0.001Y", "mnu0001Y_Click"),
          Item("-Y", "mnuMinusY_Click")}},
        Separator(),
        Item("Reverse", "mnuMinusX_Click")}},
      {"&Help",
       "mnuHelp",
       true,
       {Item("&Homepage", "mnuHomepage_Click"), Item("&Manual", "mnuManual_Click"),
        Item("&About...", "mnuAbout_Click")}},
  };
}

MenuItem* FindMenuItem(std::vector<MenuItem>& menus, const std::string& handler,
                       std::vector<MenuItem*>* parents) {
  for (MenuItem& item : menus) {
    if (!item.IsSeparator() && item.handler == handler) return &item;
    if (parents != nullptr) parents->push_back(&item);
    if (MenuItem* found = FindMenuItem(item.items, handler, parents)) return found;
    if (parents != nullptr) parents->pop_back();
  }
  return nullptr;
}

}  // namespace qalto
