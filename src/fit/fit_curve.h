#pragma once
// The fit driver: adjusts the chosen parameters so that the simulated curves match the observed
// ones in the least-squares sense, reports the sum of squares after every iteration and the
// fitted values at the end, and keeps the outcome, with the uncertainty of every fitted value, in
// the model's LastFit.
//
// Bounds guide the fit rather than block it: a positive quantity (concentration, rate constant,
// ks, D) whose minimum is above 0 is moved on a logarithmic scale, so that one step can take it
// a decade; a step that would leave [min, max] is shortened to end on the bound; a parameter on
// a bound whose step points outward stays there while the others move.

#include <functional>
#include <optional>
#include <vector>

#include "common/failure.h"
#include "fit/fit_evaluation.h"
#include "fit/fit_parameters.h"
#include "fit/marquardt_step.h"
#include "model/model.h"
#include "simulation/simulation_driver.h"

namespace qalto {

inline constexpr int kMaxFitIterations = 50;  // the engine is called at most 51 times

// How the iterations of a fit ended.
struct FitOutcome {
  double S = 0;         // sum of squares at the fitted values, A^2
  double variance = 0;  // of the observed currents, A^2
  int flag = 0;         // kFlagStepDone when the iteration limit stopped the fit
  int iterations = 0;
  int marquards = 0;  // damping increases
};

// The fitted values of a fit that ran to its end, before their uncertainty is estimated.
struct FitReport {
  std::vector<int> codes;       // parameter codes, in the order of the fit
  std::vector<double> initial;  // value as typed
  std::vector<double> fitted;
  FitOutcome outcome;
  int objectiveCount = 0;  // simulations run
  double elapsed = 0;      // computing time, s, as the caller's clock tells it
};

// The points of a curve (potentials x(1..points)) within the window, in order.
std::vector<int> WindowPoints(const FitWindow& window, const std::vector<double>& x, int points);

// The weight of each curve of a global fit: the inverse of its noise variance, estimated from the
// curve itself (third differences of neighbouring points: 20 sigma^2 for white noise), scaled
// so that the weights average 1; all 1 when a curve shows no noise at all.
std::vector<double> NoiseWeights(const std::vector<FitTarget>& targets);

// Called with the sum of squares after every call of the engine, A^2.
using IterationObserver = std::function<void(double S)>;

// What a fit works with.
struct FitContext {
  Model& model;
  FitChoices choices;       // the parameters to fit with their bounds
  SimulationInputs inputs;  // what every simulation of the fit takes from the forms
  MarquardtState& engine;   // kept from fit to fit
  int threads = 1;          // threads of the fit, this one among them
  FitWindow window;         // the points compared, of every curve
  IterationObserver onIteration;
  std::function<void(const FitReport&)> onReport;  // when the iterations have ended
  MessageSink onMessage;  // the solver's messages of runs that keep their own tally
};

// The iteration loop: calls the engine until its flag is no longer positive, at most
// kMaxFitIterations + 1 times, and tells the observer the sum after every call.
// outcome.variance must be set; b(1..NP) holds the fitted values afterwards. Each pass of the
// loop is one iteration of the fit and nothing else.
void IterateFit(MarquardtFit& fit, std::vector<double>& b, FitOutcome& outcome,
                const IterationObserver& onIteration);

// Fits with observed(1..NumberOfPoints) as the data. Returns the failure of a simulation that
// ended the fit without a report. A run-time error of the fit's own arithmetic is raised to the
// caller.
Outcome FitCurve(FitContext& context, const std::vector<double>& observed);

// Fits the shared parameters to every target at once; context.model is where the fitted
// values are read from and left, and each target's model is simulated with its own settings.
// With several targets the cell parameters (Ru, Cd, the baseline: codes 91..96) are fitted per
// curve, each from the curve's own value, and each curve's residuals count with its NoiseWeights.
Outcome FitCurves(FitContext& context, std::vector<FitTarget>& targets);

// The observed currents y(1..NumberOfPoints): curve 1 of the curve store (of an AC voltammogram
// fitted on its harmonics, their envelopes: ac_fit_harmonics.h).
std::vector<double> ObservedCurrents(const Model& model);

// Makes the current curve the only curve, in slot 1, unless curves are overlaid.
void SingleCurveStep(Model& model);

}  // namespace qalto
