#include "fit/fit_curve.h"

#include <algorithm>

#include "common/checked_math.h"
#include "common/number_format.h"
#include "common/run_monitor.h"
#include "fit/evaluate_model.h"
#include "fit/fit_parameters.h"

namespace qalto {
namespace {

size_t At(int i) {
  return static_cast<size_t>(i);
}

// The parameters of one fit, 1..NP.
struct FitParameters {
  std::vector<double> initial{0.0};  // as typed, for the report
  std::vector<double> b{0.0};        // clamped into the bounds
  std::vector<double> minimum{0.0};
  std::vector<double> maximum{0.0};
  std::vector<bool> active{false};
};

// Numbers the checked and visible fitted boxes in FitParameterCode and takes their starts.
FitParameters SelectParameters(Model& model, const FormExpr& form) {
  FitParameters parameters;
  model.FitParameterCount = 0;
  for (int code : SelectFittedCodes(form)) {
    model.FitParameterCount = model.FitParameterCount + 1;
    model.FitParameterCode(model.FitParameterCount) = code;
    ParameterStart start = StartOfParameter(model, form, code);
    parameters.initial.push_back(start.value);
    parameters.b.push_back(std::max(start.minimum, std::min(start.maximum, start.value)));
    parameters.minimum.push_back(start.minimum);
    parameters.maximum.push_back(start.maximum);
    parameters.active.push_back(true);
  }
  return parameters;
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

void PrintLabelled(ResultWindow& result, const char* label, double value) {
  result.Print(
      {PrintItem::Text(label, Separator::kZone), PrintItem::Number(value, Separator::kLineEnd)});
}

void PrintReport(ResultWindow& result, const Model& model, const FitParameters& parameters,
                 const FitOutcome& outcome) {
  result.Print({PrintItem::Text("No.", Separator::kZone),
                PrintItem::Text("Initial value", Separator::kZone), PrintItem::Zone(),
                PrintItem::Text("Fitted value", Separator::kLineEnd)});
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    result.Print({PrintItem::Number(p, Separator::kZone),
                  PrintItem::Number(parameters.initial[At(p)], Separator::kZone),
                  PrintItem::Number(parameters.b[At(p)], Separator::kLineEnd)});
  }
  result.Print({PrintItem::Text("", Separator::kLineEnd)});
  PrintLabelled(result, "Least square = ", outcome.S);
  PrintLabelled(result, "Standard deviation^2 = ", outcome.variance);
  PrintLabelled(result, "Convergence flag = ", outcome.flag);
  PrintLabelled(result, "No. of iteration = ", outcome.iterations);
  PrintLabelled(result, "No. of obj. fun. = ", model.FitObjectiveCount);
  PrintLabelled(result, "No. of MARQUARDS = ", outcome.marquards);
  PrintLabelled(result, "Computation time (s) =", model.ElapsedTime);
}

// The fitted values appear as the captions of their fitted boxes.
void ShowFittedValues(FormExpr& form, const Model& model, const std::vector<double>& b) {
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    form.CheckFitted(model.FitParameterCode(p)).SetCaption(FormatNumber(b[At(p)], "0.###e-#"));
  }
}

}  // namespace

void IterateFit(MarquardtFit& fit, std::vector<double>& b, FitOutcome& outcome,
                ResultWindow& result) {
  outcome.iterations = 0;
  outcome.S = 0;
  outcome.flag = fit.Parameters();
  outcome.marquards = 0;
  int callState = 0;
  do {
    MarquardtStep(fit, b, outcome.S, callState, outcome.flag, outcome.marquards);
    outcome.iterations = outcome.iterations + 1;
    PrintLabelled(result, "Least square = ", outcome.S);
    PollIteration(outcome.iterations, outcome.S);
    if (outcome.iterations > kMaxFitIterations) break;
  } while (outcome.flag > 0);
}

bool FitCurve(FitContext& context, const std::vector<double>& observed) {
  Model& model = context.model;
  model.ElapsedTime = context.platform.TimeOfDay();
  model.FitObjectiveCount = 0;
  FitParameters parameters = SelectParameters(model, context.form);
  int np = model.FitParameterCount;

  int m = model.NumberOfPoints;
  FitOutcome outcome;
  outcome.variance = Variance(observed, m);
  model.FitDefaultStep = Sqrt(outcome.variance);

  ModelEvaluation evaluate = [&context](const std::vector<double>& t, std::vector<double>& f) {
    EvaluateModel(context.model, context.inputs, context.platform, t, f);
  };
  MarquardtFit fit(context.engine, np, observed, m, parameters.active, parameters.minimum,
                   parameters.maximum, outcome.variance, model.FitDefaultStep, evaluate,
                   model.FitObjectiveCount);
  try {
    IterateFit(fit, parameters.b, outcome, context.result);
  } catch (const SimulationFailed&) {
    model.ElapsedTime = context.platform.TimeOfDay() - model.ElapsedTime;
    return false;
  }
  model.ElapsedTime = context.platform.TimeOfDay() - model.ElapsedTime;

  PrintReport(context.result, model, parameters, outcome);
  ShowFittedValues(context.form, model, parameters.b);
  return true;
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
