// The fit commands of the Run menu: Manual Fit, Auto Fit and the two peak separations. The
// observed data stay in curve 1 and the simulated curve goes to curve 2 while FitMode is set.

#include "app/app.h"
#include "fit/fit_curve.h"
#include "fit/peak_separation.h"

namespace qalto {
namespace {

// FitMode and the busy pointer for the length of a fit command, whatever way it ends.
class FitCommandScope {
 public:
  FitCommandScope(Model& model, Platform& platform) : model_(model), platform_(platform) {
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

void App::mnuManualFit_Click() {
  FitCommandScope scope(*model_, platform_);
  try {
    expr_->OK();
    RunSimulation(*model_, ReadSimulationInputs(), platform_);
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
    result_.Clear();
    if (model_->NumberOfPoints < 1) {
      // Nothing to fit to: neither data imported nor a curve simulated.
      platform_.MessageBox("Error: No data!");
      return;
    }
    // One tally for all the trial runs: the solver's reports are shown once, after the fit.
    SimulationInputs inputs = ReadSimulationInputs();
    inputs.solverMessages = &solverMessages;
    FitContext context{*model_, *expr_, result_, platform_, inputs, marquardt_};
    FitCurve(context, ObservedCurrents(*model_));
  } catch (const RuntimeError& error) {
    // The fit's own arithmetic failed (for instance a zero derivative step with constant data).
    solverMessages.Show(platform_);
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
  solverMessages.Show(platform_);
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
