#pragma once
// The whole running program, without any window toolkit: the model, the form models, the
// result and plot windows, the menu state and the platform. Everything a user can do is an
// event on App (edit a text box, click a control, choose a menu command, activate or close a
// window); the desktop window and the script runner only translate their input into these calls.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/curve_history.h"
#include "app/curve_origin.h"
#include "app/file_dialog.h"
#include "app/fit_table.h"
#include "app/menu.h"
#include "app/plot_window.h"
#include "app/result_window.h"
#include "app/session_state.h"
#include "fit/fit_curve.h"
#include "fit/marquardt_step.h"
#include "fit/measured_curve.h"
#include "forms/about_form.h"
#include "forms/chemicals_form.h"
#include "forms/import_form.h"
#include "forms/instrument_form.h"
#include "forms/mechanism_form.h"
#include "forms/option_form.h"
#include "forms/program_form.h"
#include "forms/technique_form.h"
#include "model/model.h"
#include "simulation/refresh_model.h"
#include "simulation/simulation_driver.h"
#include "ui/platform.h"

namespace qalto {

enum class MenuOutcome { kDone, kUnknown, kDisabled, kNotAvailable };

// The curves of a global fit as fit targets, with the models of their settings.
struct GlobalFitTargets {
  std::vector<std::unique_ptr<Model>> models;
  std::vector<FitTarget> targets;
};

class App {
 public:
  explicit App(Platform& platform, std::string programFolder = ".");
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Model& model() { return *model_; }
  Platform& platform() { return platform_; }

  // The windows. The Techniques window is created on first use and discarded when closed.
  FormIns& Ins() { return *ins_; }
  FormMech& Mech() { return *mech_; }
  FormExpr& Expr() { return *expr_; }
  FormTech& Tech();
  ResultWindow& Result() { return result_; }
  PlotWindow& Plot() { return plot_; }
  frmAbout& About() { return about_; }
  FormImport& Import() { return import_; }
  FormOption& Option() { return option_; }
  FormProgram& Program() { return program_; }
  // The form window with that name ("FormIns", "FormTech", ...), created if needed; nullptr for
  // an unknown name. The main window MDIForm1 is not a form model.
  Form* FindForm(const std::string& name);
  // The names of every form window, in the order their values reach the model.
  static const std::vector<std::string>& FormNames();
  static bool IsFormName(const std::string& name);

  // The measured curve an import put into a store slot (1..kMaxCurves), as its file holds it
  // (before any resampling or scaling in the store), with the file's settings; nothing for a
  // slot that holds no imported curve.
  const std::optional<ImportedCurve>& ImportedCurveIn(int curve) const;
  // The file read by the last import that succeeded.
  const ImportedFile& ImportedData() const { return importedFile_; }

  // Menus.
  std::vector<MenuItem>& Menus() { return menus_; }
  // Runs the menu command with that handler ("mnuSimulate" or "mnuSimulate_Click").
  MenuOutcome ChooseMenu(const std::string& handler);
  bool MenuEnabled(const std::string& handler);
  bool MenuExists(const std::string& handler);
  // Whether the command is one the window runs in the background (Simulate, the fits, ...).
  bool MenuRunsLong(const std::string& handler);
  void SetMenuEnabled(const std::string& handler, bool enabled);
  // Enables the items that depend on the program's state as that state is now: "&Theoretical
  // Peak" exactly while digital simulation is off.
  void UpdateMenuStates();

  // What put each curve of the store there, for the plot's legend and styles.
  const CurveOrigins& Origins() const { return origins_; }
  void SetOrigins(const CurveOrigins& origins) { origins_ = origins; }
  // The curve list: the curves a transform acts on (those selected among 1..CurveCount, else
  // the active curve), the active curve, and which curves the plot shows.
  std::vector<int> SelectedCurves() const;
  // The curves chosen in the list as they were chosen, without the active curve standing in.
  const std::vector<int>& ChosenCurves() const { return selected_; }
  void SelectCurves(const std::vector<int>& curves);
  void SetActiveCurve(int curve);
  bool CurveHidden(int curve) const;
  void SetCurveHidden(int curve, bool hidden);
  // The name the legend and the curve list give a curve: its origin's, else "Curve k".
  std::string CurveName(int curve) const;
  // Puts the curves back as they were before the last transform, import or fit; says so when
  // there is nothing to undo.
  void mnuUndo_Click();
  bool CanUndo() const { return !history_.Empty(); }
  // The data file the last import read, empty when nothing was imported.
  const std::string& DataFile() const { return dataFile_; }
  // The slot the last import put its (first) curve into.
  int ImportSlot() const { return importSlot_; }
  // The last Simulate ended in an error and left no curve.
  bool CurveFailed() const { return curveFailed_; }
  // Where the windows stand: the desktop puts them here before a session is written and takes
  // them after one is opened; scripts keep them as they are.
  std::map<std::string, WindowPlace>& WindowPlaces() { return windowPlaces_; }

  // Sessions (session_commands.cpp). Saving writes the whole state of the program and changes
  // nothing; opening reads the file whole and applies it only when every line is a session
  // line; Run Script runs a script with its commands, after asking when it writes files.
  void mnuSaveSession_Click();
  void mnuOpenSession_Click();
  void mnuRunScript_Click();
  bool SaveSessionTo(const std::string& path);
  bool OpenSessionFrom(const std::string& path);
  bool RunScriptFrom(const std::string& path);
  // Replaces the program's state by the session's (session_restore.cpp).
  void RestoreSession(SessionState state);
  // Something was done since the last session was saved or opened (or since the start, or
  // since MarkWorkSaved).
  bool HasUnsavedWork();
  void MarkWorkSaved();
  // Writes the plot picture for a `plot` line of a script run by Run Script; an error text,
  // empty on success. Without it such a line says that nothing can be drawn.
  std::function<std::string(const std::string& path)> pictureWriter;
  // Called before a session is written (the desktop puts its window places in), and with the
  // file's path after one was saved or opened.
  std::function<void()> sessionSaving;
  std::function<void(const std::string& path)> sessionSaved;
  std::function<void(const std::string& path)> sessionOpened;
  // An Exit that the user took back (the window asked about unsaved work).
  void KeepRunning() { exitRequested_ = false; }

  // Windows.
  Form* ActiveForm() const { return active_; }
  // The form window becomes the active window; its activation handler runs.
  void ActivateForm(Form& form);
  // The main window becomes active (MDIForm_Activate).
  void ActivateMainWindow();
  // The user closes the form window with its close box.
  void CloseForm(Form& form);
  // Shows a form window and makes it the active window.
  void ShowForm(Form& form);
  bool ExitRequested() const { return exitRequested_; }

  // Runs a user event; a run-time error that escapes it is shown in a message box.
  void Guard(const std::function<void()>& event);

  // Called when a discarded form is destroyed, before it goes.
  std::function<void(Form&)> formDiscarded;

  // Menu commands.
  void mnuSimulate_Click();
  void mnuAccuracy_Click();
  void mnuTime_Click();
  void mnuTech_Click();
  void mnuMechamism_Click();
  void mnuInstrument_Click();
  void mnuProgram_Click();
  void mnuExperimental_Click();
  void mnuOption_Click();
  void mnuPlot_Click();
  void mnuNextCurve_Click();
  void mnuClear_Click();
  void ScalePotentials(double factor);
  void ScaleCurrentCurve(double factor);
  void mnuMinusX_Click();
  void mnuCopyto_Click();
  void mnuPrint_Click();
  void mnuExit_Click();
  void mnuHomepage_Click();
  void mnuManual_Click();
  void mnuAbout_Click();
  void mnuManualFit_Click();
  void mnuAutoFit_Click();
  void mnuProfileIntervals_Click();
  void mnuManualSeparate_Click();
  void mnuAutoSeparate_Click();
  // The fit of several measured curves at once: each curve is added with the instrument
  // settings in force, then the fitted parameters are shared by all of them.
  void mnuGlobalAdd_Click();
  void mnuGlobalFit_Click();
  void mnuGlobalClear_Click();
  // After a fit: curve 3 becomes the residual, measured (curve 1) minus fitted (curve 2).
  void mnuShowResiduals_Click();
  int GlobalCurveCount() const { return static_cast<int>(globalCurves_.size()); }
  // The last fit's values, one row per parameter with its flag.
  std::vector<FitTableRow> LastFitTable() const {
    return FitTable(model_->LastFit, lastFitBounds_);
  }
  // The fitting ranges the last fit's parameters had.
  const std::vector<FitBounds>& LastFitBounds() const { return lastFitBounds_; }

  // Threads that compute the derivative columns of a fit side by side (at least 1).
  void SetFitThreads(int threads) { fitThreads_ = threads < 1 ? 1 : threads; }
  int FitThreads() const { return fitThreads_; }
  void mnuFindPeak_Click();
  void mnuFindHalfwaveE_Click();
  void mnuTheoPeak_Click();
  void mnuSemi_Click();
  void mnuSemiInte_Click();
  void mnuDerivative_Click();
  void mnuIntegral_Click();
  void mnuLog_Click();
  // Cottrell (current against t^-1/2) and Anson (charge against t^1/2) lines of the first step
  // of the last simulated chronoamperogram.
  void mnuCottrell_Click();
  void mnuAnson_Click();
  // False, after saying so, when the last Simulate failed: the curve store holds no curve of it.
  bool HasCurve();
  void mnuImport_Click();
  void mnuLoadProgram_Click();
  void mnuProgramFromData_Click();
  void mnuExport_Click();
  void mnuExportFit_Click();
  void mnuSave_Click();

  // The model refresh with the Chemicals window's current texts.
  void Refresh();
  // The fit of the chosen parameters, reporting into the result window.
  FitContext FitContextFor(const SimulationInputs& inputs);
  GlobalFitTargets GlobalTargets(const SimulationInputs& inputs);
  SimulationInputs ReadSimulationInputs() const;
  // Draws the curves; with preparation of the plotted quantity first.
  void PlotCurves();
  void PrepareAndPlot();
  // The plot window's resize event: the curves are drawn again.
  void FormPlot_Form_Resize();

 private:
  void Load();
  void Wire(FormTech& tech);
  // The menu bar as it is at start: "&Display" and "&Analyze" disabled, the rest enabled.
  std::vector<MenuItem> BuildMenus();
  void EnableCurveMenus();
  // The curves with their names and imported data, and putting them back.
  CurveSet TakeCurves() const;
  void PutCurves(const CurveSet& set);
  // Commands whose change of the curves Undo takes back.
  static bool IsUndoable(const std::string& handler);
  // Runs a transform of the active curve on each selected curve in turn.
  void ForSelectedCurves(const std::function<void()>& transform);
  // Shows the message and answers true when a box the run reads holds an impossible value.
  bool InputRefused();
  // The first refusal of the boxes a run reads, the potential program's included.
  std::optional<std::string> InputRefusal();
  void ShowMessages(const std::vector<std::string>& messages);
  // Shows the messages a simulation run left, then its failure; true when it was done.
  bool ShowOutcome(const SimulationOutcome& outcome);
  // Shows the failure that ended a fit and stops the fit's clock; true when there was none.
  bool ShowFitFailure(const Outcome& failed);
  std::string WorkInSession();
  // Takes a file just read as the imported one and puts its first curve into the store; false,
  // with everything as it was, when that fails.
  bool TakeImportedFile(ImportedFile file, std::optional<int> slot);
  // Puts the Import window's choice of the file read last into the store: into slot where
  // given (the import's own), else into the slot for a new curve.
  bool LoadImportChoice(std::optional<int> slot);
  // Puts the measured impedance spectrum of the file read last into the store.
  bool LoadImportedSpectrum();
  // The fit window's points a choice sets (a cycle after the cycles before it); the window the
  // previous import set goes with it unless it was changed since.
  void SetImportedFitWindow(const std::optional<std::pair<int, int>>& points);
  // Reads the imported file again with the Import window's columns.
  void ImportColumnsChanged();

  Platform& platform_;
  std::string programFolder_;
  std::unique_ptr<Model> model_;
  std::unique_ptr<FormMech> mech_;
  std::unique_ptr<FormIns> ins_;
  std::unique_ptr<FormExpr> expr_;
  std::unique_ptr<FormTech> tech_;
  ResultWindow result_;
  PlotWindow plot_;
  frmAbout about_;
  FormOption option_;
  FormImport import_;
  FormProgram program_;
  ImportedFile importedFile_;
  std::vector<std::optional<ImportedCurve>> importedCurves_ =
      std::vector<std::optional<ImportedCurve>>(kMaxCurves + 1);
  FileDialog fileDialog_;  // the result window's file dialog, shared by the file commands
  std::vector<MenuItem> menus_;
  Form* active_ = nullptr;
  MarquardtState marquardt_;  // the fit engine's damping and last step, kept from fit to fit
  int fitThreads_ = 1;
  std::vector<MeasuredCurve> globalCurves_;  // the curves of the next global fit
  bool exitRequested_ = false;
  CurveOrigins origins_;
  CurveHistory history_;
  std::vector<FitBounds> lastFitBounds_;       // the fitting ranges of the last fit's parameters
  std::vector<int> selected_;                  // empty: the active curve
  std::array<bool, kMaxCurves + 1> hidden_{};  // curves the plot leaves out
  std::string dataFile_;
  std::map<std::string, WindowPlace> windowPlaces_;
  std::optional<std::string> savedSession_;  // the work of the session saved or opened last
  int scriptDepth_ = 0;                      // scripts run by Run Script inside each other
  int importSlot_ = 1;                       // the slot the last import put its (first) curve into
  // The fit window's points from and to as the last import set them (a cycle after the cycles
  // before it): the next import takes them back unless they were changed since.
  std::optional<std::pair<std::string, std::string>> importedFitWindow_;
  bool curveFailed_ = false;      // the last Simulate ended in an error and left no curve
  bool simulateRefused_ = false;  // the last Simulate was refused and left every curve as it was
};

}  // namespace qalto
