#pragma once
// The fit driver: adjusts the parameters marked as fitted on the Chemicals window so that the
// simulated curves match the observed ones in the least-squares sense, writes the progress and
// the report into the result window, shows the fitted values beside their check boxes and keeps
// the outcome, with the uncertainty of every fitted value, in the model's LastFit.
//
// Bounds guide the fit rather than block it: a positive quantity (concentration, rate constant,
// ks, D) whose minimum is above 0 is moved on a logarithmic scale, so that one step can take it
// a decade; a step that would leave [min, max] is shortened to end on the bound; a parameter on
// a bound whose step points outward stays there while the others move.

#include <vector>

#include "app/result_window.h"
#include "fit/fit_evaluation.h"
#include "fit/marquardt_step.h"
#include "forms/chemicals_form.h"
#include "model/model.h"
#include "simulation/simulation_driver.h"
#include "ui/platform.h"

namespace qalto {

inline constexpr int kMaxFitIterations = 50;  // the engine is called at most 51 times

// What a fit works with.
struct FitContext {
  Model& model;
  FormExpr& form;  // fitted boxes, bounds, captions of the fitted boxes
  ResultWindow& result;
  Platform& platform;
  SimulationInputs inputs;  // the form texts every simulation of the fit reads
  MarquardtState& engine;   // kept from fit to fit
  int threads = 1;          // derivative columns computed side by side
};

// How the iterations of a fit ended.
struct FitOutcome {
  double S = 0;         // sum of squares at the fitted values, A^2
  double variance = 0;  // of the observed currents, A^2
  int flag = 0;         // kFlagStepDone when the iteration limit stopped the fit
  int iterations = 0;
  int marquards = 0;  // damping increases
};

// The iteration loop: calls the engine until its flag is no longer positive, at most
// kMaxFitIterations + 1 times, and prints "Least square = " with the sum after every call.
// outcome.variance must be set; b(1..NP) holds the fitted values afterwards. Each pass of the
// loop is one iteration of the fit and nothing else.
void IterateFit(MarquardtFit& fit, std::vector<double>& b, FitOutcome& outcome,
                ResultWindow& result);

// Fits with observed(1..NumberOfPoints) as the data. Returns false when a simulation failed
// (its message has been shown) and the fit ended there without a report. A run-time error of the
// fit's own arithmetic is raised to the caller.
bool FitCurve(FitContext& context, const std::vector<double>& observed);

// Fits the shared parameters to every target at once; context.model is where the fitted
// values are read from and left, and each target's model is simulated with its own settings.
bool FitCurves(FitContext& context, std::vector<FitTarget>& targets);

// The observed currents y(1..NumberOfPoints): curve 1 of the curve store.
std::vector<double> ObservedCurrents(const Model& model);

// Makes the current curve the only curve, in slot 1, unless curves are overlaid.
void SingleCurveStep(Model& model);

}  // namespace qalto
