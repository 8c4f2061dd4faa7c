#include "app/app.h"

#include <algorithm>
#include <exception>
#include <thread>

#include "app/input_limits.h"
#include "common/ignore_errors.h"
#include "common/run_monitor.h"
#include "simulation/rotating_flow_note.h"

namespace qalto {

App::App(Platform& platform, std::string programFolder)
    : platform_(platform),
      programFolder_(std::move(programFolder)),
      model_(std::make_unique<Model>()),
      mech_(std::make_unique<FormMech>(*model_)),
      ins_(std::make_unique<FormIns>(*model_)),
      expr_(std::make_unique<FormExpr>(*model_, *mech_)),
      option_(*model_),
      menus_(BuildMenus()) {
  mech_->applyTechniques = [this] { Tech().OK(); };
  ins_->applyMechanism = [this] { Mech().OK(); };
  ins_->refreshModel = [this] { Refresh(); };
  ins_->applyProgram = [this] { model_->Program = program_.Program(); };
  ins_->showMessage = [this](const std::string& text) { platform_.MessageBox(text); };
  expr_->showMessage = ins_->showMessage;
  mech_->showMessage = ins_->showMessage;
  expr_->applyInstrument = [this] { Ins().OK(); };
  expr_->refreshModel = [this] { Refresh(); };
  expr_->LinkInstrument({&ins_->Estart, &ins_->CheckPreCon, &ins_->txtEPre, &ins_->txtTPre,
                         &ins_->txtRStir, &ins_->txtTpreconst});
  option_.Connect(
      plot_.surface, [this] { Refresh(); },
      [this](const std::string& message) { platform_.MessageBox(message); },
      [this] {
        const int k = model_->CurrentCurve;
        return k >= 1 && k <= kMaxCurves &&
               Origins()[static_cast<size_t>(k)].source == CurveSource::kSimulation;
      });
  // every core computes derivative columns of a fit; the cores are counted once per process
  static const int cores = static_cast<int>(std::thread::hardware_concurrency());
  SetFitThreads(cores);
  // Switching digital simulation on or off decides at once whether theoretical peaks exist.
  mech_->CheckDigital.onClick = [this, click = mech_->CheckDigital.onClick] {
    if (click) click();
    UpdateMenuStates();
  };
  import_.choiceChanged = [this] {
    if (LoadImportChoice(importSlot_)) PlotCurves();
  };
  import_.columnsChanged = [this] { ImportColumnsChanged(); };
  Load();
  ActivateMainWindow();
}

// Start-up of the main window.
void App::Load() {
  model_->DigitalSimulation = mech_->CheckDigital.Checked();
  model_->Electrode = Electrode::kPlanar;
  ins_->ComboScan.SetListIndex(0);
  option_.ComboY.SetListIndex(0);
}

FormTech& App::Tech() {
  if (!tech_) tech_ = std::make_unique<FormTech>(*model_);
  return *tech_;
}

const std::vector<std::string>& App::FormNames() {
  static const std::vector<std::string> names = {
      "FormTech",   "FormMech",    "FormIns",    "FormExpr", "formOption",
      "FormImport", "FormProgram", "FormResult", "FormPlot", "frmAbout"};
  return names;
}

bool App::IsFormName(const std::string& name) {
  const auto& names = FormNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

Form* App::FindForm(const std::string& name) {
  if (name == "FormIns") return ins_.get();
  if (name == "FormMech") return mech_.get();
  if (name == "FormExpr") return expr_.get();
  if (name == "FormTech") return &Tech();
  if (name == "FormResult") return &result_;
  if (name == "FormPlot") return &plot_;
  if (name == "frmAbout") return &about_;
  if (name == "formOption") return &option_;
  if (name == "FormImport") return &import_;
  if (name == "FormProgram") return &program_;
  return nullptr;
}

void App::Guard(const std::function<void()>& event) {
  try {
    event();
  } catch (const RuntimeError& error) {
    platform_.MessageBox("Run-time error: " + error.Description());
  } catch (const std::exception& error) {
    platform_.MessageBox(std::string("Run-time error: ") + error.what());
  }
}

MenuOutcome App::ChooseMenu(const std::string& name) {
  std::string handler = name;
  if (handler.size() < 6 || handler.substr(handler.size() - 6) != "_Click") handler += "_Click";
  std::vector<MenuItem*> parents;
  MenuItem* item = FindMenuItem(menus_, handler, &parents);
  if (item == nullptr) return MenuOutcome::kUnknown;
  if (!item->enabled) return MenuOutcome::kDisabled;
  for (MenuItem* parent : parents) {
    if (!parent->enabled) return MenuOutcome::kDisabled;
  }
  if (!item->action) return MenuOutcome::kNotAvailable;
  const bool undoable = IsUndoable(handler);
  if (undoable) history_.Push(TakeCurves());
  result_.BeginCommand(item->PlainCaption());
  try {
    Guard(item->action);
  } catch (const RunCancelled&) {
    // The window puts the curves back as they were: there is nothing to undo.
    if (undoable) history_.Pop();
    result_.BeginCommand("");
    throw;
  }
  result_.BeginCommand("");
  const bool curvesKept = handler == "mnuSimulate_Click" && simulateRefused_;
  if (handler != "mnuImport_Click" && !curvesKept) {
    NoteCurveOrigins(origins_, *model_, handler, dataFile_);
  }
  if (undoable) history_.DropIfUnchanged(*model_, origins_, hidden_);
  return MenuOutcome::kDone;
}

bool App::MenuRunsLong(const std::string& handler) {
  MenuItem* item = FindMenuItem(menus_, handler);
  return item != nullptr && item->long_running;
}

bool App::MenuExists(const std::string& handler) {
  return FindMenuItem(menus_, handler) != nullptr;
}

bool App::MenuEnabled(const std::string& handler) {
  MenuItem* item = FindMenuItem(menus_, handler);
  return item != nullptr && item->enabled;
}

void App::SetMenuEnabled(const std::string& handler, bool enabled) {
  if (MenuItem* item = FindMenuItem(menus_, handler)) item->enabled = enabled;
}

void App::ActivateForm(Form& form) {
  if (active_ == &form) return;
  active_ = &form;
  Guard([&form] { form.Activate(); });
}

void App::ActivateMainWindow() {
  UpdateMenuStates();
}

void App::UpdateMenuStates() {
  // Theoretical peak values exist only for the analytical models.
  SetMenuEnabled("mnuTheoPeak_Click", !model_->DigitalSimulation);
}

void App::ShowForm(Form& form) {
  bool wasHidden = !form.Shown();
  form.Show();
  if (wasHidden && active_ == &form) active_ = nullptr;  // a hidden window is activated anew
  ActivateForm(form);
}

void App::CloseForm(Form& form) {
  if (active_ == &form) active_ = nullptr;
  if (form.OnClose() == CloseBehaviour::kHide) {
    form.Hide();
    return;
  }
  form.Hide();
  if (&form == tech_.get()) {
    if (formDiscarded) formDiscarded(form);
    tech_.reset();
  }
}

void App::Refresh() {
  ins_->method1();
  RefreshModel(*model_, expr_->Values());
}

SimulationInputs App::ReadSimulationInputs() const {
  SimulationInputs inputs;
  inputs.overlapChecked = option_.overlap.Checked();
  inputs.pH = TypedNumber::Read(expr_->TextpH.Text());
  inputs.baselineStart = TypedNumber::Read(ins_->TxtI0.Text());
  inputs.baselineEnd = TypedNumber::Read(ins_->TxtI1.Text());
  inputs.expandingGrid = TypedNumber::Read(ins_->TextExpanding.Text());
  return inputs;
}

void App::ShowMessages(const std::vector<std::string>& messages) {
  for (const std::string& message : messages)
    platform_.MessageBox(message);
}

bool App::ShowOutcome(const SimulationOutcome& outcome) {
  ShowMessages(outcome.messages);
  if (outcome.failure) platform_.MessageBox(outcome.failure->message);
  return outcome.Done();
}

bool App::ShowFitFailure(const Outcome& failed) {
  if (!failed) return true;
  platform_.MessageBox(failed->message);
  model_->ElapsedTime = platform_.TimeOfDay() - model_->ElapsedTime;
  return false;
}

void App::EnableCurveMenus() {
  SetMenuEnabled("mnuManualFit_Click", true);
  SetMenuEnabled("mnuManualSeparate_Click", true);
  SetMenuEnabled("mnuDisplay", true);
  SetMenuEnabled("mnuAnalyze", true);
}

void App::mnuSimulate_Click() {
  model_->ElapsedTime = platform_.TimeOfDay();
  platform_.SetBusy(true);
  const bool hadFailed = curveFailed_;
  curveFailed_ = true;
  bool applied = false;
  simulateRefused_ = false;
  try {
    expr_->OK();
    applied = true;
    // An impossible value, or a combination the analytical simulation cannot compute, leaves
    // the curve and the plot as they were, with the one message that says so.
    SimulationOutcome outcome;
    if (auto refusal = InputRefusal()) {
      outcome.failure = Failure{*refusal};
      outcome.refused = true;
    } else {
      outcome = RunSimulation(*model_, ReadSimulationInputs());
    }
    simulateRefused_ = outcome.refused;
    if (simulateRefused_) {
      ShowOutcome(outcome);
      curveFailed_ = hadFailed;
    } else {
      curveFailed_ = !ShowOutcome(outcome);
      const auto note = RotatingFlowNote(*model_);
      if (note && !curveFailed_) result_.Print({PrintItem::Text(*note, Separator::kLineEnd)});
      // The slot the simulation wrote no longer holds a measured curve.
      importedCurves_[static_cast<size_t>(model_->TargetCurve)].reset();
    }
  } catch (const RuntimeError& error) {
    // The parameters could not be applied (a zero temperature, a number too large to read).
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
  // Parameters that could not be applied fail the plot's refresh the same way: one message.
  if (!simulateRefused_ && applied) {
    Guard([this] { PrepareAndPlot(); });
  } else if (!simulateRefused_) {
    IgnoringErrors([this] { PrepareAndPlot(); });
  }
  EnableCurveMenus();
  platform_.SetBusy(false);
  model_->ElapsedTime = platform_.TimeOfDay() - model_->ElapsedTime;
}

std::optional<std::string> App::InputRefusal() {
  auto refusal = FindInputRefusal(*ins_, *expr_, model_->Technique);
  if (!refusal && model_->Technique == Technique::kPotentialProgram)
    refusal = FindProgramRefusal(program_, *ins_);
  // A sine on the program: its boxes must hold numbers; its interval is the sine's own.
  if (!refusal && model_->Technique == Technique::kAcVoltammetry &&
      ins_->ComboAcBase.ListIndex() == 1)
    refusal = program_.TypingRefusal();
  if (!refusal) refusal = FindLayerRefusal(*model_);
  return refusal;
}

bool App::InputRefused() {
  const auto refusal = InputRefusal();
  if (refusal) platform_.MessageBox(*refusal);
  return refusal.has_value();
}

void App::mnuTime_Click() {
  result_.Print({PrintItem::Text("time = "), PrintItem::Number(model_->ElapsedTime),
                 PrintItem::Text("s", Separator::kLineEnd)});
  result_.Print({PrintItem::Text("max iteration in simulation = "),
                 PrintItem::Number(model_->MaxIteration, Separator::kLineEnd)});
}

void App::mnuTech_Click() {
  ShowForm(Tech());
}

void App::mnuMechamism_Click() {
  ShowForm(*mech_);
}

void App::mnuInstrument_Click() {
  ShowForm(*ins_);
}

void App::mnuProgram_Click() {
  ShowForm(program_);
}

void App::mnuExperimental_Click() {
  mech_->OK();
  ShowForm(*expr_);
}

void App::mnuExit_Click() {
  exitRequested_ = true;
}

void App::mnuHomepage_Click() {
  platform_.OpenBrowser(kHomePage);
}

void App::mnuManual_Click() {
  platform_.OpenBrowser(programFolder_ + "/qalto.html");
}

void App::mnuAbout_Click() {
  ShowForm(about_);
}

}  // namespace qalto
