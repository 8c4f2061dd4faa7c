#include "fit/marquardt_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app/result_window.h"
#include "common/error_description.h"
#include "fit/fit_curve.h"

namespace qalto {
namespace {

using Curve = std::function<double(const std::vector<double>& t, double x)>;

// A model of M points on x = 0.1 .. 0.1 M, with its observed data, that records every parameter
// vector it is evaluated at.
struct TestProblem {
  TestProblem(int points, Curve shape) : m(points), curve(std::move(shape)), y(points + 1, 0.0) {}

  double X(int i) const { return 0.1 * i; }
  void Observe(const std::vector<double>& truth) {
    for (int i = 1; i <= m; ++i)
      y[static_cast<size_t>(i)] = curve(truth, X(i));
  }
  double Variance() const {
    double mean = 0;
    for (int i = 1; i <= m; ++i)
      mean += y[static_cast<size_t>(i)] / m;
    double v = 0;
    for (int i = 1; i <= m; ++i)
      v += std::pow(y[static_cast<size_t>(i)] - mean, 2) / m;
    return v;
  }
  ModelEvaluation Evaluation() {
    return [this](const std::vector<double>& t, std::vector<double>& f) {
      evaluated.push_back(t);
      for (int i = 1; i <= m; ++i)
        f[static_cast<size_t>(i)] = curve(t, X(i));
    };
  }
  MarquardtFit Fit(int np, std::vector<double> minimum, std::vector<double> maximum,
                   double variance, double defaultStep = 1.0) {
    return MarquardtFit(state, np, y, m, std::vector<bool>(static_cast<size_t>(np) + 1, true),
                        std::move(minimum), std::move(maximum), variance, defaultStep, Evaluation(),
                        objectives);
  }

  int m;
  Curve curve;
  std::vector<double> y;
  MarquardtState state;
  int objectives = 0;
  std::vector<std::vector<double>> evaluated;
};

const Curve kLine = [](const std::vector<double>& t, double x) { return t[1] + t[2] * x; };
const Curve kDecay = [](const std::vector<double>& t, double x) {
  return t[1] * std::exp(-t[2] * x);
};
// One call of the step with the driver's bookkeeping, started with the given flag.
struct StepCall {
  explicit StepCall(int startFlag) : flag(startFlag) {}
  void operator()(MarquardtFit& fit, std::vector<double>& b) {
    MarquardtStep(fit, b, S, callState, flag, marquards);
  }
  double S = 0;
  int callState = 0;
  int flag;
  int marquards = 0;
};

TEST(MarquardtStep, StraightLineIsSolvedByTheFirstStep) {
  // Central differences of a linear model are exact, so the undamped Gauss-Newton step lands
  // on the answer and the next call finds the sum below 1e-10 x variance.
  TestProblem problem(50, kLine);
  problem.Observe({0, 0.3, -2.0});
  MarquardtFit fit = problem.Fit(2, {0, -10, -10}, {0, 10, 10}, problem.Variance());
  std::vector<double> b{0, 1.0, 1.0};
  StepCall step(2);
  step(fit, b);
  EXPECT_EQ(step.flag, kFlagStepDone);
  EXPECT_EQ(step.callState, 1);
  EXPECT_NEAR(b[1], 0.3, 1e-12);
  EXPECT_NEAR(b[2], -2.0, 1e-12);
  EXPECT_LT(step.S, 1e-20);
  EXPECT_EQ(step.marquards, 0);
  // one evaluation at the start, four for the derivatives, one trial
  EXPECT_EQ(problem.evaluated.size(), 6u);
  EXPECT_EQ(problem.objectives, 2);
  step(fit, b);
  EXPECT_EQ(step.flag, kFlagExactFit);
  EXPECT_EQ(problem.objectives, 3);
}

TEST(MarquardtStep, WhenNoDampingHelpsTheWorsePointIsReturned) {
  // The model is f = 1 at its starting point t = 1 and f = |t| + 1 everywhere else: its derivatives
  // promise a decrease that no step delivers.
  TestProblem problem(1, nullptr);
  problem.curve = [](const std::vector<double>& t, double) {
    return t[1] == 1.0 ? 1.0 : std::fabs(t[1]) + 1;
  };
  MarquardtFit fit = problem.Fit(1, {0, -10}, {0, 10}, 1.0);
  std::vector<double> b{0, 1.0};
  StepCall step(1);
  step(fit, b);
  EXPECT_EQ(step.flag, kFlagConverged);
  EXPECT_GT(step.S, 1.0);
  EXPECT_NE(b[1], 1.0);
  EXPECT_GT(problem.state.lambda, 100.0);  // ended above 1000 by a factor nu <= 10, then / nu
  EXPECT_LE(problem.state.lambda, 1000.0);
  EXPECT_GT(step.marquards, 5);
}

TEST(MarquardtStep, IterationLimitStopsAfter51CallsWithFlagOne) {
  // f = 1e12 t^5 against y = 0: each Gauss-Newton step shrinks t by a fifth, so the sum keeps
  // falling by far more than 0.02 % a step (the factor keeps the normal-equation diagonal above
  // 1e-20 throughout); a variance of 0 disables the exact-fit exit.
  TestProblem problem(
      1, [](const std::vector<double>& t, double) { return 1e12 * std::pow(t[1], 5); });
  MarquardtFit fit = problem.Fit(1, {0, -10}, {0, 10}, 0.0);
  std::vector<double> b{0, 1.0};
  FitOutcome outcome;
  size_t lines = 0;  // reports of the sum of squares
  IterateFit(fit, b, outcome, [&lines](double) { ++lines; });
  EXPECT_EQ(outcome.iterations, 51);
  EXPECT_EQ(outcome.flag, kFlagStepDone);
  EXPECT_NEAR(b[1], std::pow(0.8, 51), std::pow(0.8, 51) * 0.01);
  EXPECT_EQ(lines, 51u);
}

TEST(MarquardtStep, NextFitStartsFromThePreviousStepAndResetsTheDamping) {
  TestProblem problem(30, kDecay);
  problem.Observe({0, 2.0, 1.0});
  {
    MarquardtFit fit = problem.Fit(2, {0, 0.1, 0.01}, {0, 100, 100}, problem.Variance());
    std::vector<double> b{0, 0.5, 3.0};
    FitOutcome outcome;
    IterateFit(fit, b, outcome, nullptr);  // as the fit driver calls the engine
  }
  std::vector<double> lastStep = problem.state.step;
  problem.state.lambda = 500;  // as a previous fit may leave it
  problem.evaluated.clear();
  MarquardtFit fit = problem.Fit(2, {0, 0.1, 0.01}, {0, 100, 100}, problem.Variance());
  std::vector<double> b{0, 1.0, 2.0};
  StepCall(2)(fit, b);
  EXPECT_EQ(problem.evaluated[0][1], 1.0 + lastStep[1]);
  EXPECT_EQ(problem.evaluated[0][2], 2.0 + lastStep[2]);
  // A step that would leave the bounds is shortened to end on the bound in the first trial of
  // the next fit.
  problem.state.step[1] = -50;
  problem.evaluated.clear();
  MarquardtFit bounded = problem.Fit(2, {0, 0.1, 0.01}, {0, 100, 100}, problem.Variance());
  b = {0, 1.0, 2.0};
  StepCall(2)(bounded, b);
  EXPECT_EQ(problem.evaluated[0][1], 0.1);
}

TEST(MarquardtStep, ZeroStepWithConstantDataIsAnOverflow) {
  // Constant data give a default step of 0; a parameter at 0 then has no derivative step.
  TestProblem problem(5, kLine);
  MarquardtFit fit = problem.Fit(2, {0, -10, -10}, {0, 10, 10}, 0.0, 0.0);
  std::vector<double> b{0, 0.0, 1.0};
  EXPECT_EQ(ErrorDescription([&] { StepCall(2)(fit, b); }), "Overflow");
}

}  // namespace
}  // namespace qalto
