#include "fit/fit_curve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>

#include "common/checked_math.h"
#include "common/run_monitor.h"
#include "fit/ac_fit_harmonics.h"
#include "fit/evaluate_model.h"
#include "fit/parameter_uncertainty.h"
#include "fit/residual_runs.h"

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
  std::vector<int> owner{0};                // the curve (from 1) of a per-curve parameter; 0: all
};

bool IsCellParameter(int code) {
  return code >= kFittedRu && code <= kFittedSlope;
}

// Numbers the chosen parameters in FitParameterCode and takes their starts; with several
// targets a cell parameter becomes one per curve, starting from the curve's own value.
FitParameters SelectParameters(Model& model, const FitChoices& choices,
                               const std::vector<FitTarget>& targets) {
  FitParameters parameters;
  model.FitParameterCount = 0;
  for (const FitChoice& choice : choices) {
    int code = choice.code;
    const int owners =
        IsCellParameter(code) && targets.size() > 1 ? static_cast<int>(targets.size()) : 0;
    for (int owner = owners > 0 ? 1 : 0; owner <= owners; ++owner) {
      model.FitParameterCount = model.FitParameterCount + 1;
      model.FitParameterCode(model.FitParameterCount) = code;
      Model& own = owner > 0 ? *targets[At(owner - 1)].model : model;
      ParameterStart start = StartOfParameter(own, choice);
      double value = std::max(start.minimum, std::min(start.maximum, start.value));
      // A range that starts at 0 or is upside down cannot be moved on a log scale.
      bool logScale =
          IsPositiveQuantity(code) && start.minimum > 0 && start.maximum >= start.minimum;
      parameters.initial.push_back(start.value);
      parameters.b.push_back(logScale ? Log(value) : value);
      parameters.minimum.push_back(logScale ? Log(start.minimum) : start.minimum);
      parameters.maximum.push_back(logScale ? Log(start.maximum) : start.maximum);
      parameters.active.push_back(true);
      parameters.logScale.push_back(logScale);
      parameters.derivativeStep.push_back(logScale ? kLogDerivativeStep : 0.0);
      parameters.owner.push_back(owner);
    }
  }
  return parameters;
}

// Gives every target's model the numbering of the fitted parameters; a parameter of another
// curve has code 0 there.
void ShareParameterCodes(const Model& model, const FitParameters& parameters,
                         std::vector<FitTarget>& targets) {
  for (size_t c = 0; c < targets.size(); ++c) {
    Model& own = *targets[c].model;
    own.FitParameterCount = model.FitParameterCount;
    for (int p = 1; p <= model.FitParameterCount; ++p) {
      int owner = parameters.owner[At(p)];
      bool mine = owner == 0 || owner == static_cast<int>(c) + 1;
      own.FitParameterCode(p) = mine ? model.FitParameterCode(p) : 0;
    }
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
    if (parameters.owner[At(p)] > 0)
      fitted.name += " (curve " + std::to_string(parameters.owner[At(p)]) + ")";
    fitted.initial = parameters.initial[At(p)];
    fitted.value = values[At(p)];
    fitted.logScale = parameters.logScale[At(p)];
    fitted.arbitraryZero = HasArbitraryZero(fitted.code);
    fitted.determined = uncertainty.determined[At(p)];
    const double low = parameters.minimum[At(p)];
    const double high = parameters.maximum[At(p)];
    const double b = parameters.b[At(p)];
    // Within a millionth of the range of a bound, in the coordinates the engine moves.
    const double reach = 1e-6 * std::fabs(high - low);
    fitted.atBound = b <= low + reach || b >= high - reach;
    fitted.minimum = fitted.logScale ? std::exp(low) : low;
    fitted.maximum = fitted.logScale ? std::exp(high) : high;
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
    // The value was sought within its range only: so is its interval (an undetermined value's
    // interval is then the range itself, not a span of 600 decades).
    if (fitted.determined && fitted.minimum < fitted.maximum) {
      fitted.lower95 = std::max(fitted.lower95, fitted.minimum);
      fitted.upper95 = std::min(fitted.upper95, fitted.maximum);
    }
    result.parameters.push_back(fitted);
  }
  return result;
}

// The runs test of the residuals of all curves, in the order they were compared.
void AddResidualRuns(FitResult& result, const std::vector<double>& y, const std::vector<double>& f,
                     int m) {
  RunsTest test = ResidualRuns(y, f, m);
  result.points = m;
  result.residualRuns = test.runs;
  result.runsZ = test.z;
  result.systematicResiduals = SystematicResiduals(test);
}

// Each curve's share of the sum of squares over its compared points, unweighted, from the
// simulated curves f (weighted, in the order of ConcatenatedObserved) at the fitted values.
void AddCurveResiduals(FitResult& result, const std::vector<FitTarget>& targets,
                       const std::vector<double>& f) {
  size_t offset = 0;
  for (const FitTarget& target : targets) {
    CurveResidual residual;
    residual.label = target.label;
    residual.points = target.ComparedCount();
    const double scale = std::sqrt(target.weight);
    for (int j = 1; j <= target.ComparedCount(); ++j) {
      double deviation = f[offset + At(j)] / scale - target.observed[At(target.ComparedPoint(j))];
      residual.sumOfSquares += deviation * deviation;
    }
    offset += At(target.ComparedCount());
    result.curves.push_back(residual);
  }
}

// The third difference of neighbouring points: noise of variance s^2 gives 20 s^2 on average,
// a smooth curve almost nothing.
double NoiseVariance(const std::vector<double>& y, int points) {
  double sum = 0;
  int count = 0;
  for (int i = 1; i + 3 <= points; ++i) {
    double d = y[At(i + 3)] - 3 * y[At(i + 2)] + 3 * y[At(i + 1)] - y[At(i)];
    sum += d * d;
    ++count;
  }
  return count > 0 ? sum / (20.0 * count) : 0.0;
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

std::vector<int> WindowPoints(const FitWindow& window, const std::vector<double>& x, int points) {
  std::vector<int> compared;
  for (int i = 1; i <= points; ++i) {
    if (window.first && i < *window.first) continue;
    if (window.last && i > *window.last) continue;
    if (window.eLow && x[At(i)] < *window.eLow) continue;
    if (window.eHigh && x[At(i)] > *window.eHigh) continue;
    compared.push_back(i);
  }
  return compared;
}

std::vector<double> NoiseWeights(const std::vector<FitTarget>& targets) {
  std::vector<double> weights(targets.size(), 1.0);
  double sum = 0;
  for (size_t c = 0; c < targets.size(); ++c) {
    double variance = NoiseVariance(targets[c].observed, targets[c].Points());
    if (!(variance > 0) || !std::isfinite(1 / variance))
      return std::vector<double>(targets.size(), 1.0);
    weights[c] = 1 / variance;
    sum += weights[c];
  }
  for (double& w : weights)
    w *= static_cast<double>(weights.size()) / sum;
  return weights;
}

Outcome FitCurve(FitContext& context, const std::vector<double>& observed) {
  std::vector<FitTarget> targets(1);
  targets[0].model = &context.model;
  targets[0].inputs = context.inputs;
  const auto length = static_cast<std::ptrdiff_t>(std::min(
      observed.size(), static_cast<size_t>(1 + std::max(0, ComparedLength(context.model)))));
  targets[0].observed.assign(observed.begin(), observed.begin() + length);
  targets[0].label = "Curve 1";
  return FitCurves(context, targets);
}

Outcome FitCurves(FitContext& context, std::vector<FitTarget>& targets) {
  Model& model = context.model;
  model.LastFit = FitResult{};
  model.FitObjectiveCount = 0;
  FitParameters parameters = SelectParameters(model, context.choices, targets);
  ShareParameterCodes(model, parameters, targets);
  int np = model.FitParameterCount;
  if (targets.size() > 1) {
    std::vector<double> weights = NoiseWeights(targets);
    for (size_t c = 0; c < targets.size(); ++c)
      targets[c].weight = weights[c];
  }
  if (context.window.Limits()) {
    for (FitTarget& target : targets) {
      std::vector<double> x(At(target.Points()) + 1, 0.0);
      for (int i = 1; i <= target.Points(); ++i)
        x[At(i)] = target.model->PotentialX(CurvePointOf(*target.model, i));
      target.compared = WindowPoints(context.window, x, target.Points());
      // An empty list compares every point: a window that holds none is refused instead.
      if (target.compared.empty()) {
        return Failure{
            "Input Error: the fit window (E from, to (V); points from, to) holds no "
            "point of " +
            target.label + "."};
      }
    }
  }

  std::vector<double> y = ConcatenatedObserved(targets);
  int m = static_cast<int>(y.size()) - 1;
  FitOutcome outcome;
  outcome.variance = Variance(y, m);
  model.FitDefaultStep = Sqrt(outcome.variance);

  // No more threads than the tasks of an iteration's derivatives: a curve of a side each.
  const int parts = static_cast<int>(targets.size());
  const int threadCount = std::min(context.threads, 2 * np * parts);
  // The threads end first: a thread may still be stopping a run on its worker's models.
  std::unique_ptr<WorkerEvaluations> workers;
  std::unique_ptr<BorrowedFitThreads> threads;
  if (threadCount > 1) {
    workers = std::make_unique<WorkerEvaluations>(targets, parameters.logScale, threadCount);
    threads = std::make_unique<BorrowedFitThreads>(threadCount);
  }
  ModelEvaluation evaluate = CurvesEvaluation(targets, parameters.logScale, context.onMessage,
                                              threads ? threads->get() : nullptr);
  MarquardtFit fit(context.engine, np, y, m, parameters.active, parameters.minimum,
                   parameters.maximum, outcome.variance, model.FitDefaultStep, evaluate,
                   model.FitObjectiveCount);
  fit.SetDerivativeSteps(parameters.derivativeStep);
  if (threads) fit.SetThreads(threads->get(), TargetEnds(targets), workers->Evaluations());
  std::vector<double> f(At(m) + 1, 0.0);
  std::optional<Failure> failed;
  try {
    IterateFit(fit, parameters.b, outcome, context.onIteration);
    fit.DerivativesAt(parameters.b);  // the Jacobian at the optimum, for the uncertainty
    evaluate(parameters.b, f);        // leaves every model at the fitted values
  } catch (const SimulationFailed& failure) {
    failed = Failure{failure.Message()};
  }
  // The other threads' solver reports join the fit's once no thread runs any more.
  threads.reset();
  if (workers && targets[0].inputs.solverMessages)
    workers->AddSolverReportsTo(*targets[0].inputs.solverMessages);
  if (failed) return failed;

  std::vector<double> values = ParameterValues(parameters.b, parameters.logScale);
  if (context.onReport) context.onReport(ReportOf(model, parameters, values, outcome));
  Uncertainty uncertainty = EstimateUncertainty(fit, outcome.S, parameters.active);
  model.LastFit = ResultOf(model, parameters, values, outcome, uncertainty);
  AddCurveResiduals(model.LastFit, targets, f);
  AddResidualRuns(model.LastFit, y, f, m);
  return std::nullopt;
}

std::vector<double> ObservedCurrents(const Model& model) {
  return ObservedValues(model);
}

void SingleCurveStep(Model& model) {
  if (model.OverlapPlot) return;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    model.CurrentY(i, 1) = model.CurrentY(i, model.CurrentCurve);
  }
  model.CurveCount = model.TargetCurve = model.CurrentCurve = 1;
}

}  // namespace qalto
