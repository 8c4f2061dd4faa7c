#include "fit/fit_curve.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "common/checked_math.h"
#include "common/run_monitor.h"
#include "fit/evaluate_model.h"
#include "fit/parameter_uncertainty.h"

namespace qalto {
namespace {

size_t At(int i) {
  return static_cast<size_t>(i);
}

// A positive quantity fitted on a log scale moves by this much of its logarithm for its
// derivative: the one percent of the value that the linear scale takes.
constexpr double kLogDerivativeStep = 0.01;

// The parameters of one fit, 1..NP, in the coordinates the engine moves: the natural logarithm
// of a positive quantity with a positive minimum, else the value itself.
struct FitParameters {
  std::vector<double> initial{0.0};  // value as typed, for the report
  std::vector<double> b{0.0};        // clamped into the bounds
  std::vector<double> minimum{0.0};
  std::vector<double> maximum{0.0};
  std::vector<bool> active{false};
  std::vector<bool> logScale{false};
  std::vector<double> derivativeStep{0.0};  // 0: one percent of the value
};

// Numbers the chosen parameters in FitParameterCode and takes their starts.
FitParameters SelectParameters(Model& model, const FitChoices& choices) {
  FitParameters parameters;
  model.FitParameterCount = 0;
  for (const FitChoice& choice : choices) {
    int code = choice.code;
    model.FitParameterCount = model.FitParameterCount + 1;
    model.FitParameterCode(model.FitParameterCount) = code;
    ParameterStart start = StartOfParameter(model, choice);
    double value = std::max(start.minimum, std::min(start.maximum, start.value));
    // A range that starts at 0 or is upside down cannot be moved on a log scale.
    bool logScale = IsPositiveQuantity(code) && start.minimum > 0 && start.maximum >= start.minimum;
    parameters.initial.push_back(start.value);
    parameters.b.push_back(logScale ? Log(value) : value);
    parameters.minimum.push_back(logScale ? Log(start.minimum) : start.minimum);
    parameters.maximum.push_back(logScale ? Log(start.maximum) : start.maximum);
    parameters.active.push_back(true);
    parameters.logScale.push_back(logScale);
    parameters.derivativeStep.push_back(logScale ? kLogDerivativeStep : 0.0);
  }
  return parameters;
}

// Gives every target's model the numbering of the fitted parameters.
void ShareParameterCodes(const Model& model, std::vector<FitTarget>& targets) {
  for (FitTarget& target : targets) {
    if (target.model == &model) continue;
    target.model->FitParameterCount = model.FitParameterCount;
    for (int p = 1; p <= model.FitParameterCount; ++p)
      target.model->FitParameterCode(p) = model.FitParameterCode(p);
  }
}

// Variance of the observed currents about their mean, A^2.
double Variance(const std::vector<double>& y, int m) {
  double sum = 0;
  for (int i = 1; i <= m; ++i)
    sum += y[At(i)];
  double mean = Div(sum, m);
  double squares = 0;
  for (int i = 1; i <= m; ++i)
    squares += (y[At(i)] - mean) * (y[At(i)] - mean);
  return Div(Checked(squares), m);
}

FitReport ReportOf(const Model& model, const FitParameters& parameters,
                   const std::vector<double>& values, const FitOutcome& outcome) {
  FitReport report;
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    report.codes.push_back(model.FitParameterCode(p));
    report.initial.push_back(parameters.initial[At(p)]);
    report.fitted.push_back(values[At(p)]);
  }
  report.outcome = outcome;
  report.objectiveCount = model.FitObjectiveCount;
  return report;
}

// The outcome with its uncertainty: a quantity on a log scale has the standard error
// value x se(ln value) and the interval value x exp(-/+ t se), the others value -/+ t se.
FitResult ResultOf(const Model& model, const FitParameters& parameters,
                   const std::vector<double>& values, const FitOutcome& outcome,
                   const Uncertainty& uncertainty) {
  FitResult result;
  result.valid = true;
  result.sumOfSquares = outcome.S;
  result.residualVariance = uncertainty.residualVariance;
  result.degreesOfFreedom = uncertainty.degreesOfFreedom;
  result.flag = outcome.flag;
  result.iterations = outcome.iterations;
  result.correlation = uncertainty.correlation;
  double t = StudentT975(uncertainty.degreesOfFreedom);
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    FittedParameter fitted;
    fitted.code = model.FitParameterCode(p);
    fitted.name = ParameterName(fitted.code);
    fitted.initial = parameters.initial[At(p)];
    fitted.value = values[At(p)];
    fitted.logScale = parameters.logScale[At(p)];
    fitted.determined = uncertainty.determined[At(p)];
    double se = uncertainty.standardError[At(p)];
    if (fitted.determined && fitted.logScale) {
      fitted.standardError = fitted.value * se;
      fitted.lower95 = fitted.value * std::exp(-t * se);
      fitted.upper95 = fitted.value * std::exp(t * se);
    } else if (fitted.determined) {
      fitted.standardError = se;
      fitted.lower95 = fitted.value - t * se;
      fitted.upper95 = fitted.value + t * se;
    }
    result.parameters.push_back(fitted);
  }
  return result;
}

// Each curve's share of the sum of squares, from the simulated curves f at the fitted values.
void AddCurveResiduals(FitResult& result, const std::vector<FitTarget>& targets,
                       const std::vector<double>& f) {
  size_t offset = 0;
  for (const FitTarget& target : targets) {
    CurveResidual residual;
    residual.label = target.label;
    residual.points = target.Points();
    for (int i = 1; i <= target.Points(); ++i) {
      double deviation = f[offset + At(i)] - target.observed[At(i)];
      residual.sumOfSquares += deviation * deviation;
    }
    offset += At(target.Points());
    result.curves.push_back(residual);
  }
}

}  // namespace

void IterateFit(MarquardtFit& fit, std::vector<double>& b, FitOutcome& outcome,
                const IterationObserver& onIteration) {
  outcome.iterations = 0;
  outcome.S = 0;
  outcome.flag = fit.Parameters();
  outcome.marquards = 0;
  int callState = 0;
  do {
    MarquardtStep(fit, b, outcome.S, callState, outcome.flag, outcome.marquards);
    outcome.iterations = outcome.iterations + 1;
    if (onIteration) onIteration(outcome.S);
    PollIteration(outcome.iterations, outcome.S);
    if (outcome.iterations > kMaxFitIterations) break;
  } while (outcome.flag > 0);
}

Outcome FitCurve(FitContext& context, const std::vector<double>& observed) {
  std::vector<FitTarget> targets(1);
  targets[0].model = &context.model;
  targets[0].inputs = context.inputs;
  targets[0].observed.assign(observed.begin(),
                             observed.begin() + 1 + std::max(0, context.model.NumberOfPoints));
  targets[0].label = "Curve 1";
  return FitCurves(context, targets);
}

Outcome FitCurves(FitContext& context, std::vector<FitTarget>& targets) {
  Model& model = context.model;
  model.LastFit = FitResult{};
  model.FitObjectiveCount = 0;
  FitParameters parameters = SelectParameters(model, context.choices);
  ShareParameterCodes(model, targets);
  int np = model.FitParameterCount;

  std::vector<double> y = ConcatenatedObserved(targets);
  int m = static_cast<int>(y.size()) - 1;
  FitOutcome outcome;
  outcome.variance = Variance(y, m);
  model.FitDefaultStep = Sqrt(outcome.variance);

  ModelEvaluation evaluate = CurvesEvaluation(targets, parameters.logScale, context.onMessage);
  MarquardtFit fit(context.engine, np, y, m, parameters.active, parameters.minimum,
                   parameters.maximum, outcome.variance, model.FitDefaultStep, evaluate,
                   model.FitObjectiveCount);
  fit.SetDerivativeSteps(parameters.derivativeStep);
  int threads = std::min(context.threads, np);
  std::unique_ptr<WorkerEvaluations> workers;
  if (threads > 1) {
    workers = std::make_unique<WorkerEvaluations>(targets, parameters.logScale, threads);
    fit.SetParallelEvaluations(workers->Evaluations());
  }
  std::vector<double> f(At(m) + 1, 0.0);
  try {
    IterateFit(fit, parameters.b, outcome, context.onIteration);
    fit.DerivativesAt(parameters.b);  // the Jacobian at the optimum, for the uncertainty
    evaluate(parameters.b, f);        // leaves every model at the fitted values
  } catch (const SimulationFailed& failure) {
    return Failure{failure.Message()};
  }

  std::vector<double> values = ParameterValues(parameters.b, parameters.logScale);
  if (context.onReport) context.onReport(ReportOf(model, parameters, values, outcome));
  Uncertainty uncertainty = EstimateUncertainty(fit, outcome.S, parameters.active);
  model.LastFit = ResultOf(model, parameters, values, outcome, uncertainty);
  AddCurveResiduals(model.LastFit, targets, f);
  return std::nullopt;
}

std::vector<double> ObservedCurrents(const Model& model) {
  std::vector<double> y(At(model.NumberOfPoints) + 1, 0.0);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    y[At(i)] = model.CurrentY(i, 1);
  return y;
}

void SingleCurveStep(Model& model) {
  if (model.OverlapPlot) return;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    model.CurrentY(i, 1) = model.CurrentY(i, model.CurrentCurve);
  }
  model.CurveCount = model.TargetCurve = model.CurrentCurve = 1;
}

}  // namespace qalto
