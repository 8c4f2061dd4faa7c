// The fit commands of the Run menu: Manual Fit, Auto Fit, Profile Intervals, the two peak
// separations and the global fit. The observed data stay in curve 1 and the simulated curve goes
// to curve 2 while FitMode is set.

#include <algorithm>
#include <memory>

#include "app/app.h"
#include "app/fit_report.h"
#include "fit/fit_parameters.h"
#include "fit/peak_separation.h"
#include "fit/profile_interval.h"
#include "forms/instrument_form.h"
#include "model/measured_ac.h"

namespace qalto {
namespace {

// FitMode and the busy pointer for the length of a fit command, whatever way it ends.
class FitCommandScope {
 public:
  // A fit compares the measured raw currents, whichever harmonics their slots showed.
  FitCommandScope(Model& model, Platform& platform) : model_(model), platform_(platform) {
    NarrowFromHarmonics(model_);
    RestoreMeasuredAc(model_);
    platform_.SetBusy(true);
    model_.FitMode = true;
  }
  ~FitCommandScope() {
    model_.FitMode = false;
    platform_.SetBusy(false);
  }
  FitCommandScope(const FitCommandScope&) = delete;
  FitCommandScope& operator=(const FitCommandScope&) = delete;

 private:
  Model& model_;
  Platform& platform_;
};

}  // namespace

// The fit's clock starts here: ElapsedTime holds the start until the fit ends.
FitContext App::FitContextFor(const SimulationInputs& inputs) {
  model_->ElapsedTime = platform_.TimeOfDay();
  // The chemistry of the Chemicals window, then the cell of the Instrument window.
  FitChoices choices = expr_->ChosenFitParameters();
  for (const FitChoice& choice : ins_->ChosenFitParameters())
    choices.push_back(choice);
  lastFitBounds_.clear();
  for (const FitChoice& choice : choices)
    lastFitBounds_.push_back({choice.code, choice.minimum, choice.maximum});
  FitContext context{*model_, choices, inputs, marquardt_, fitThreads_, {}, {}, {}, {}};
  context.window = expr_->ChosenFitWindow();
  context.onIteration = [this](double S) { PrintLeastSquare(result_, S); };
  context.onMessage = [this](const std::string& message) { platform_.MessageBox(message); };
  context.onReport = [this](const FitReport& fitted) {
    model_->ElapsedTime = platform_.TimeOfDay() - model_->ElapsedTime;
    FitReport report = fitted;
    report.elapsed = model_->ElapsedTime;
    PrintFitReport(result_, report);
    for (size_t p = 0; p < report.codes.size(); ++p) {
      int code = report.codes[p];
      if (code >= kFittedRu) {
        ins_->ShowFittedValue(code, report.fitted[p]);
      } else {
        expr_->ShowFittedValue(code, report.fitted[p]);
      }
    }
  };
  return context;
}

void App::mnuManualFit_Click() {
  FitCommandScope scope(*model_, platform_);
  try {
    expr_->OK();
    if (InputRefused()) return;
    ShowOutcome(RunSimulation(*model_, ReadSimulationInputs()));
  } catch (const RuntimeError& error) {
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
  PlotCurves();
}

void App::mnuAutoFit_Click() {
  FitCommandScope scope(*model_, platform_);
  model_->CurrentCurve = 1;
  option_.overlap.SetChecked(false);
  SingleCurveStep(*model_);
  SolverMessageTally solverMessages;
  try {
    expr_->OK();
    if (InputRefused()) return;
    result_.Clear();
    if (model_->NumberOfPoints < 1) {
      // Nothing to fit to: neither data imported nor a curve simulated.
      platform_.MessageBox("Error: No data!");
      return;
    }
    // One tally for all the trial runs: the solver's reports are shown once, after the fit.
    SimulationInputs inputs = ReadSimulationInputs();
    inputs.solverMessages = &solverMessages;
    FitContext context = FitContextFor(inputs);
    if (ShowFitFailure(FitCurve(context, ObservedCurrents(*model_))))
      PrintParameterUncertainty(result_, model_->LastFit);
  } catch (const RuntimeError& error) {
    // The fit's own arithmetic failed (for instance a zero derivative step with constant data).
    ShowMessages(solverMessages.TakeMessages());
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
  ShowMessages(solverMessages.TakeMessages());
  PlotCurves();
}

namespace {

bool IsPerCurve(int code, const FitResult& fit) {
  return fit.curves.size() > 1 && code >= kFittedRu && code <= kFittedSlope;
}

// The codes of the parameters named in the Profile box's text, separated by spaces or commas (a
// name with a space in it, "I offset", is read whole), or of every shared parameter of the fit:
// a parameter fitted per curve of a global fit ("I offset (curve 2)") has no single value to
// profile.
Expected<std::vector<int>> ProfileCodes(const std::string& text, const FitResult& fit) {
  auto separator = [](char c) { return c == ' ' || c == ',' || c == '\t'; };
  std::vector<int> codes;
  size_t at = 0;
  while (true) {
    while (at < text.size() && separator(text[at]))
      ++at;
    if (at == text.size()) break;
    const FittedParameter* named = nullptr;  // the longest name that stands at this place
    for (const FittedParameter& p : fit.parameters) {
      const size_t end = at + p.name.size();
      const bool whole = text.compare(at, p.name.size(), p.name) == 0 &&
                         (end == text.size() || separator(text[end]));
      if (whole && (!named || p.name.size() > named->name.size())) named = &p;
    }
    if (!named) {
      size_t end = at;
      while (end < text.size() && !separator(text[end]))
        ++end;
      return Failure{"Error: Profile: " + text.substr(at, end - at) +
                     " is not a parameter of the last fit!"};
    }
    codes.push_back(named->code);
    at += named->name.size();
  }
  if (codes.empty()) {
    for (const FittedParameter& p : fit.parameters)
      if (!IsPerCurve(p.code, fit)) codes.push_back(p.code);
  }
  return codes;
}

// The fit set-up still chooses the parameters of the fit that ended (a parameter fitted per
// curve appears once per curve there).
bool SameParameters(const FitChoices& choices, const FitResult& fit) {
  std::vector<int> fitted;
  for (const FittedParameter& p : fit.parameters)
    if (fitted.empty() || fitted.back() != p.code) fitted.push_back(p.code);
  if (choices.size() != fitted.size()) return false;
  for (size_t p = 0; p < choices.size(); ++p)
    if (choices[p].code != fitted[p]) return false;
  return true;
}

void KeepProfiles(const std::vector<int>& codes, const std::vector<ProfileInterval>& intervals,
                  FitResult& fit) {
  for (size_t i = 0; i < codes.size(); ++i) {
    for (FittedParameter& p : fit.parameters) {
      if (p.code != codes[i]) continue;
      p.profiled = true;
      p.profileLower = intervals[i].lower.value;
      p.profileUpper = intervals[i].upper.value;
      p.profileLowerOpen = intervals[i].lower.open;
      p.profileUpperOpen = intervals[i].upper.open;
    }
  }
}

}  // namespace

void App::mnuProfileIntervals_Click() {
  const FitResult& fit = model_->LastFit;
  if (!fit.valid) {
    platform_.MessageBox(
        "Error: No fit to profile! Profile Intervals follow an Auto Fit or a Global Fit.");
    return;
  }
  const bool global = fit.curves.size() > 1;
  if (global && globalCurves_.size() != fit.curves.size()) {
    platform_.MessageBox(
        "Error: The curves of the last global fit are no longer its curves! Run Global Fit "
        "again.");
    return;
  }
  FitCommandScope scope(*model_, platform_);
  SolverMessageTally solverMessages;
  try {
    expr_->OK();
    if (InputRefused()) return;
    Expected<std::vector<int>> codes = ProfileCodes(expr_->TextProfile.Text(), fit);
    if (!codes) return platform_.MessageBox(codes.Error().message);
    SimulationInputs inputs = ReadSimulationInputs();
    inputs.solverMessages = &solverMessages;
    FitContext context = FitContextFor(inputs);
    context.onReport = nullptr;
    if (!SameParameters(context.choices, fit))
      return platform_.MessageBox(
          "Error: The fitted parameters changed since the last fit! Run the fit again.");
    Expected<std::vector<ProfileInterval>> intervals =
        global ? ProfileIntervals(context, GlobalTargets(inputs).targets, codes.Value())
               : ProfileIntervals(context, ObservedCurrents(*model_), codes.Value());
    ShowMessages(solverMessages.TakeMessages());
    if (!intervals) return platform_.MessageBox(intervals.Error().message);
    KeepProfiles(codes.Value(), intervals.Value(), model_->LastFit);
    PrintProfileIntervals(result_, model_->LastFit);
  } catch (const RuntimeError& error) {
    ShowMessages(solverMessages.TakeMessages());
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
}

void App::mnuGlobalAdd_Click() {
  if (model_->NumberOfPoints < 1) {
    platform_.MessageBox("Error: No data!");
    return;
  }
  if (GlobalCurveCount() >= kMaxGlobalCurves) {
    platform_.MessageBox("Error: global fit curve number cannot > " +
                         std::to_string(kMaxGlobalCurves) + ".");
    return;
  }
  try {
    expr_->OK();  // the instrument settings the curve was measured with reach the model
  } catch (const RuntimeError& error) {
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
    return;
  }
  if (InputRefused()) return;
  globalCurves_.push_back(CaptureMeasuredCurve(*model_, ReadSimulationInputs()));
  result_.Print({PrintItem::Text("Global fit curve ", Separator::kNone),
                 PrintItem::Number(GlobalCurveCount(), Separator::kZone),
                 PrintItem::Text("Points = ", Separator::kNone),
                 PrintItem::Number(model_->NumberOfPoints, Separator::kZone),
                 PrintItem::Text("Technique = ", Separator::kNone),
                 PrintItem::Number(Number(model_->Technique), Separator::kZone),
                 PrintItem::Text("Scan rate (V/s) = ", Separator::kNone),
                 PrintItem::Number(model_->ScanRate, Separator::kLineEnd)});
}

void App::mnuGlobalClear_Click() {
  globalCurves_.clear();
  result_.Print({PrintItem::Text("Global fit curves cleared", Separator::kLineEnd)});
}

namespace {

// After a global fit the plot shows the last curve added (curve 1) with its fit (curve 2).
void ShowLastGlobalCurve(Model& model, const Model& last) {
  model.NumberOfPoints = last.NumberOfPoints;
  model.PotentialX(0) = last.PotentialX(0);
  for (int i = 1; i <= last.NumberOfPoints; ++i) {
    model.PotentialX(i) = last.PotentialX(i);
    model.CurrentY(i, 1) = last.CurrentY(i, 1);
    model.CurrentY(i, 2) = last.CurrentY(i, 2);
  }
  model.FirstPoint = 1;
  model.LastPoint = last.NumberOfPoints;
  model.CurveCount = model.CurrentCurve = model.TargetCurve = 2;
}

}  // namespace

// The curves added to the global fit, each with a model of its own settings.
GlobalFitTargets App::GlobalTargets(const SimulationInputs& inputs) {
  GlobalFitTargets global;
  for (const MeasuredCurve& curve : globalCurves_) {
    global.models.push_back(CurveModel(*model_, curve));
    FitTarget target;
    target.model = global.models.back().get();
    target.inputs = curve.inputs;
    target.inputs.pH = inputs.pH;  // the solution is the same for every curve
    target.observed = curve.current;
    target.label = "Curve " + std::to_string(global.targets.size() + 1);
    global.targets.push_back(target);
  }
  return global;
}

void App::mnuGlobalFit_Click() {
  if (globalCurves_.empty()) {
    platform_.MessageBox("Error: No curve added to the global fit!");
    return;
  }
  FitCommandScope scope(*model_, platform_);
  option_.overlap.SetChecked(false);
  try {
    expr_->OK();
    if (InputRefused()) return;
    result_.Clear();
    SimulationInputs inputs = ReadSimulationInputs();
    GlobalFitTargets global = GlobalTargets(inputs);
    FitContext context = FitContextFor(inputs);
    if (ShowFitFailure(FitCurves(context, global.targets))) {
      Model& last = *global.models.back();
      for (int p = 1; p <= model_->FitParameterCount; ++p) {
        int code = model_->FitParameterCode(p);
        FittedField(*model_, code) = FittedField(last, code);
      }
      ShowLastGlobalCurve(*model_, last);
      PrintCurveResiduals(result_, model_->LastFit);
      PrintParameterUncertainty(result_, model_->LastFit);
    }
  } catch (const RuntimeError& error) {
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
  PlotCurves();
}

void App::mnuShowResiduals_Click() {
  Model& m = *model_;
  if (!m.LastFit.valid || m.CurveCount < 2) {
    platform_.MessageBox("Error: No fit to show the residuals of!");
    return;
  }
  for (int i = 1; i <= m.NumberOfPoints; ++i)
    m.CurrentY(i, 3) = m.CurrentY(i, 1) - m.CurrentY(i, 2);
  m.CurveCount = 3;
  PlotCurves();
}

void App::mnuManualSeparate_Click() {
  mnuManualFit_Click();
  AddComponentCurves(*model_);
  PlotCurves();
}

void App::mnuAutoSeparate_Click() {
  mnuAutoFit_Click();
  AddComponentCurves(*model_);
  PlotCurves();
}

}  // namespace qalto
