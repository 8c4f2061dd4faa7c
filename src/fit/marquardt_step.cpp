#include "fit/marquardt_step.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "common/checked_math.h"

namespace qalto {
namespace {

constexpr double kExactFitRatio = 1e-10;     // of the variance of the data
constexpr double kRelativeStep = 0.01;       // derivative step as a fraction of the value
constexpr double kSingularDiagonal = 1e-20;  // a diagonal at most this small freezes its parameter
constexpr double kPivotFloor = 1e-15;
constexpr double kFirstDamping = 0.0001;
constexpr double kLargestDamping = 1000;
constexpr double kConvergedDecrease = 0.0002;

double Clamped(double value, double minimum, double maximum) {
  return std::max(minimum, std::min(maximum, value));
}

}  // namespace

MarquardtFit::MarquardtFit(MarquardtState& state, int np, const std::vector<double>& y, int m,
                           std::vector<bool> active, std::vector<double> minimum,
                           std::vector<double> maximum, double variance, double defaultStep,
                           ModelEvaluation evaluate, int& objectiveCount)
    : state_(state),
      np_(np),
      m_(m),
      y_(y),
      active_(std::move(active)),
      minimum_(std::move(minimum)),
      maximum_(std::move(maximum)),
      variance_(variance),
      defaultStep_(defaultStep),
      evaluate_(std::move(evaluate)),
      objectiveCount_(objectiveCount),
      f_(At(m) + 1, 0.0),
      fPlus_(At(m) + 1, 0.0),
      fMinus_(At(m) + 1, 0.0),
      derivative_(At(np) * (At(m) + 1), 0.0),
      normal_((At(np) + 1) * (At(np) + 2), 0.0),
      solve_((At(np) + 1) * (At(np) + 2), 0.0),
      scale_(At(np) + 1, 0.0),
      held_(At(np) + 1, false) {
  if (np < 0 || np > kMaxFitParameters) throw RuntimeError::SubscriptOutOfRange();
}

// The trial vector b + step, a step component that would leave its parameter's bounds shortened
// to end on the bound.
void MarquardtFit::PlaceTrial(const std::vector<double>& b) {
  for (int j = 1; j <= np_; ++j) {
    double t = b[At(j)] + state_.step[At(j)];
    if (t < minimum_[At(j)] || t > maximum_[At(j)]) {
      t = Clamped(t, minimum_[At(j)], maximum_[At(j)]);
      state_.step[At(j)] = t - b[At(j)];
    }
    state_.trial[At(j)] = t;
  }
}

// The model at the trial vector and its sum of squared deviations from the observed values.
double MarquardtFit::TrialSum() {
  evaluate_(state_.trial, f_);
  double sum = 0;
  for (int i = 1; i <= m_; ++i) {
    double deviation = f_[At(i)] - y_[At(i)];
    sum += deviation * deviation;
  }
  ++objectiveCount_;
  return Checked(sum);
}

double EvaluateTrial(MarquardtFit& fit, const std::vector<double>& b) {
  fit.PlaceTrial(b);
  return fit.TrialSum();
}

// On threads, the derivatives around the trial are begun on the other threads while this one
// evaluates the trial, and finished when `wanted` says the trial is the next point of the fit:
// an accepted step costs its simulations shared out, a refused one no more than its own.
double MarquardtFit::EvaluateTrialAhead(const std::vector<double>& b,
                                        const std::function<bool(double)>& wanted) {
  PlaceTrial(b);
  // The objective of several parts runs on the threads itself.
  if (!OnThreads() || partEnds_.size() != 2) return TrialSum();
  double sum = 0;
  ComputeSides([&] {
    sum = TrialSum();
    return wanted(sum);
  });
  return sum;
}

// The central-difference step of parameter j: one percent of its value (or the default step
// for a parameter that is exactly 0), or the fixed step set for it.
double MarquardtFit::DerivativeStep(int j, double value) const {
  double h = kRelativeStep * std::fabs(value);
  if (h == 0) h = defaultStep_;
  if (At(j) < fixedStep_.size() && fixedStep_[At(j)] > 0) h = fixedStep_[At(j)];
  return h;
}

// D(i, j) = (f(t_j + h) - f(t_j - h)) / 2h around the trial vector.
void MarquardtFit::DerivativeColumn(int j, const ModelEvaluation& evaluate, std::vector<double>& t,
                                    std::vector<double>& plus, std::vector<double>& minus) {
  double value = t[At(j)];
  double h = DerivativeStep(j, value);
  t[At(j)] = value + h;
  evaluate(t, plus);
  t[At(j)] = value - h;
  evaluate(t, minus);
  t[At(j)] = value;
  double* column = &derivative_[At(j - 1) * (At(m_) + 1)];
  for (int i = 1; i <= m_; ++i)
    column[i] = Div(plus[At(i)] - minus[At(i)], 2 * h);
}

// Task k of the derivatives is part k % parts of side s = k / parts (s = 0..2 NP - 1) of the
// central differences: parameter s / 2 + 1, raised by its step for an even s and lowered for an
// odd one. The part's model values go to the parameter's column of the derivative table
// (raised) or of the lowered table.
void MarquardtFit::KeepSide(int task, const std::vector<double>& f) {
  const int parts = static_cast<int>(partEnds_.size()) - 1;
  const int s = task / parts;
  const int part = task % parts;
  const int j = s / 2 + 1;
  std::vector<double>& table = s % 2 == 0 ? derivative_ : lowered_;
  const auto first = static_cast<std::ptrdiff_t>(partEnds_[At(part)] + 1);
  const auto end = static_cast<std::ptrdiff_t>(partEnds_[At(part + 1)] + 1);
  std::copy(f.begin() + first, f.begin() + end,
            table.begin() + static_cast<std::ptrdiff_t>(At(j - 1) * (At(m_) + 1)) + first);
}

bool MarquardtFit::OnThreads() const {
  return threads_ != nullptr && threads_->Count() >= 2;
}

// Whether the derivative table holds the derivatives at the trial vector already.
bool MarquardtFit::HoldsDerivativesAtTrial() const {
  return !derivativesAt_.empty() &&
         std::equal(derivativesAt_.begin(), derivativesAt_.end(), state_.trial.begin() + 1);
}

void MarquardtFit::Derivatives() {
  if (HoldsDerivativesAtTrial()) return;
  if (OnThreads()) {
    ComputeSides({});
    return;
  }
  for (int j = 1; j <= np_; ++j)
    DerivativeColumn(j, evaluate_, state_.trial, fPlus_, fMinus_);
  derivativesAt_.assign(state_.trial.begin() + 1, state_.trial.begin() + 1 + np_);
}

// The 2 NP sides, each in its parts, are independent simulations. On threads, each thread
// computes with its own evaluation from copies of the trial vector and the steps, and the first
// result of each task is kept, so the tables are the ones the serial loop fills; a failure is
// raised for the first failing side or column in the serial loop's order. With `first`, the sides
// are begun while the calling thread runs it and given up when it returns false
// (FitThreads::RunRepeatableAfter).
void MarquardtFit::ComputeSides(const std::function<bool()>& first) {
  derivativesAt_.clear();
  lowered_.resize(derivative_.size());
  std::vector<double> steps(At(np_) + 1, 0.0);
  for (int j = 1; j <= np_; ++j)
    steps[At(j)] = DerivativeStep(j, state_.trial[At(j)]);
  const int parts = static_cast<int>(partEnds_.size()) - 1;
  FitThreads::Compute side = [trial = state_.trial, steps, parts, evaluations = parallel_, m = m_](
                                 int task, int worker, std::vector<double>& f) {
    const int s = task / parts;
    const int j = s / 2 + 1;
    std::vector<double> t = trial;
    t[At(j)] = s % 2 == 0 ? t[At(j)] + steps[At(j)] : t[At(j)] - steps[At(j)];
    f.assign(At(m) + 1, 0.0);
    evaluations[At(worker)](task % parts, t, f);
  };
  const FitThreads::Keep keep = [this](int task, const std::vector<double>& f) {
    KeepSide(task, f);
  };
  const int tasks = 2 * np_ * parts;
  if (!first) {
    threads_->RunRepeatable(tasks, std::move(side), keep);
  } else if (!threads_->RunRepeatableAfter(first, tasks, std::move(side), keep)) {
    return;
  }
  for (int j = 1; j <= np_; ++j) {
    const double h = steps[At(j)];
    double* column = &derivative_[At(j - 1) * (At(m_) + 1)];
    const double* lowered = &lowered_[At(j - 1) * (At(m_) + 1)];
    for (int i = 1; i <= m_; ++i)
      column[i] = Div(column[i] - lowered[i], 2 * h);
  }
  derivativesAt_.assign(state_.trial.begin() + 1, state_.trial.begin() + 1 + np_);
}

void MarquardtFit::DerivativesAt(const std::vector<double>& b) {
  std::copy(b.begin() + 1, b.begin() + 1 + np_, state_.trial.begin() + 1);
  Derivatives();
}

// A = D'D and g = D'(y - f) at the trial vector; a parameter held fixed, or one the data do not
// feel, is frozen.
void MarquardtFit::NormalEquations() {
  size_t stride = At(m_) + 1;
  for (int j = 1; j <= np_; ++j) {
    if (!active_[At(j)]) {
      FreezeParameter(j);
      continue;
    }
    const double* dj = &derivative_[At(j - 1) * stride];
    double g = 0;
    for (int i = 1; i <= m_; ++i)
      g += dj[i] * (y_[At(i)] - f_[At(i)]);
    A(j, np_ + 1) = Checked(g);
    for (int k = 1; k <= np_; ++k) {
      const double* dk = &derivative_[At(k - 1) * stride];
      double sum = 0;
      for (int i = 1; i <= m_; ++i)
        sum += dj[i] * dk[i];
      A(j, k) = Checked(sum);
    }
    if (A(j, j) <= kSingularDiagonal) FreezeParameter(j);
  }
}

// Row and column j become those of the unit matrix and g_j = 0, so that the step of j is 0.
void MarquardtFit::FreezeParameter(int j) {
  for (int k = 1; k <= np_; ++k) {
    A(j, k) = 0;
    A(k, j) = 0;
  }
  A(j, np_ + 1) = 0;
  A(j, j) = 1;
}

// A*(j, k) = A(j, k) / (s_j s_k), g*_j = g_j / s_j with s_j = sqrt(A(j, j)): a unit diagonal.
void MarquardtFit::ScaleNormalEquations() {
  for (int j = 1; j <= np_; ++j)
    scale_[At(j)] = Sqrt(A(j, j));
  for (int j = 1; j <= np_; ++j) {
    for (int k = 1; k <= np_; ++k)
      A(j, k) = Div(A(j, k), scale_[At(j)] * scale_[At(k)]);
    A(j, np_ + 1) = Div(A(j, np_ + 1), scale_[At(j)]);
  }
}

// The scaled equations with lambda on the diagonal; a held parameter's row and column are those
// of the unit matrix with a zero right-hand side.
void MarquardtFit::FillSolveMatrix(double lambda) {
  solve_ = normal_;
  for (int j = 1; j <= np_; ++j)
    Solve(j, j) = A(j, j) + lambda;
  for (int j = 1; j <= np_; ++j) {
    if (!held_[At(j)]) continue;
    for (int k = 1; k <= np_; ++k) {
      Solve(j, k) = 0;
      Solve(k, j) = 0;
    }
    Solve(j, np_ + 1) = 0;
    Solve(j, j) = 1;
  }
}

bool MarquardtFit::PointsOutward(int j, const std::vector<double>& b) const {
  double step = state_.step[At(j)];
  return (b[At(j)] <= minimum_[At(j)] && step < 0) || (b[At(j)] >= maximum_[At(j)] && step > 0);
}

// Solves for the step; a parameter sitting on a bound whose step points outward is held there
// and the others are solved again without it, so that they take the step that is best for them
// with it fixed.
void MarquardtFit::SolveWithinBounds(const std::vector<double>& b, double lambda) {
  std::fill(held_.begin(), held_.end(), false);
  bool heldMore = true;
  while (heldMore) {
    FillSolveMatrix(lambda);
    SolveStep();
    heldMore = false;
    for (int j = 1; j <= np_; ++j) {
      if (held_[At(j)] || !PointsOutward(j, b)) continue;
      held_[At(j)] = true;
      heldMore = true;
    }
  }
}

// Gauss-Jordan elimination without pivot search on the solve matrix; the step in the unscaled
// parameters is x_j / s_j.
void MarquardtFit::SolveStep() {
  int rhs = np_ + 1;
  for (int k = 1; k <= np_; ++k) {
    double pivot = Solve(k, k);
    if (std::fabs(pivot) <= kPivotFloor) pivot = kPivotFloor;
    for (int c = k + 1; c <= rhs; ++c)
      Solve(k, c) = Div(Solve(k, c), pivot);
    for (int i = 1; i <= np_; ++i) {
      if (i == k) continue;
      double factor = Solve(i, k);
      for (int c = k + 1; c <= rhs; ++c)
        Solve(i, c) = Checked(Solve(i, c) - factor * Solve(k, c));
    }
  }
  for (int j = 1; j <= np_; ++j)
    state_.step[At(j)] = Div(Solve(j, rhs), scale_[At(j)]);
}

void MarquardtStep(MarquardtFit& fit, std::vector<double>& b, double& S, int& callState, int& flag,
                   int& marquardCount) {
  MarquardtState& state = fit.state_;
  double threshold = kExactFitRatio * fit.variance_;
  if (callState < 0) {
    // Only the sum of squares at b is asked for; the step kept for the next fit stays.
    std::vector<double> kept = state.step;
    std::fill(state.step.begin(), state.step.end(), 0.0);
    S = EvaluateTrial(fit, b);
    state.step = kept;
    return;
  }
  if (callState == 0) {
    // A new fit first tries b plus the step the previous fit ended with.
    std::copy(b.begin() + 1, b.begin() + 1 + fit.np_, state.trial.begin() + 1);
    S = fit.EvaluateTrialAhead(b, [threshold](double sum) { return sum >= threshold; });
    if (S < threshold) {
      flag = kFlagExactFit;
      return;
    }
    callState = 1;
  }
  // Every derivative is by central differences: the fit driver supplies none of its own. The
  // root-mean-square diagnostics of the step and the scale factors are not formed, as nothing
  // shows them.
  fit.Derivatives();
  fit.NormalEquations();
  fit.ScaleNormalEquations();

  int callIncreases = 0;
  double trialSum = S;
  double nu = 2;
  double damping = 0;  // the first solve of a call is undamped
  do {
    fit.SolveWithinBounds(b, damping);
    // The derivatives at the trial are wanted when the loop below accepts it.
    trialSum =
        fit.EvaluateTrialAhead(b, [S, threshold](double sum) { return S >= threshold && sum < S; });
    if (S < threshold) {
      flag = kFlagExactFit;
      return;
    }
    nu = std::max(2.0, std::min(10.0, Div(trialSum, S)));
    if (trialSum < S) break;
    if (callIncreases > 0) {
      state.lambda = state.lambda * nu;
    } else if (marquardCount == 0) {
      state.lambda = kFirstDamping;
    }
    damping = state.lambda;
    ++marquardCount;
    ++callIncreases;
  } while (state.lambda <= kLargestDamping);

  if (marquardCount != 0) state.lambda = state.lambda / nu;
  double relative = Div(S - trialSum, trialSum + S);
  flag = relative < kConvergedDecrease ? kFlagConverged : kFlagStepDone;
  std::copy(state.trial.begin() + 1, state.trial.begin() + 1 + fit.np_, b.begin() + 1);
  S = trialSum;
}

}  // namespace qalto
