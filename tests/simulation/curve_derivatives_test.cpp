#include "simulation/curve_derivatives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/constants.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

constexpr int kColumn = 3;

// A model whose curve store holds n points on an axis of spacing h (start x0), the current
// curve being kColumn.
Model CurveModel(int n, double x0, double h) {
  Model model;
  model.NumberOfPoints = n;
  model.CurrentCurve = kColumn;
  for (int i = 0; i <= n; ++i)
    model.PotentialX(i) = x0 + (i - 1) * h;
  return model;
}

double SemiWeight(double q) {
  return std::sqrt(q + 1) - 2 * std::sqrt(q) + std::sqrt(q - 1);
}

TEST(SemiDifferentiateCurve, ConstantCurveFollowsTheInverseRootLaw) {
  const int n = 400;
  Model model = CurveModel(n, 0.0, 1.0);
  for (int i = 1; i <= n; ++i)
    model.CurrentY(i, kColumn) = 1.0;
  model.CurrentY(1, 1) = 7.0;  // other curves are left alone
  SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);

  double c = 2 / std::sqrt(kPi * 1.0);
  // The weights telescope: T(k) = c (sqrt(k) - sqrt(k - 1)), the semi-derivative 1/sqrt(pi x)
  // of a constant at x = k h.
  for (int k = 3; k <= n - 1; ++k) {
    EXPECT_NEAR(model.CurrentY(k, kColumn), c * (std::sqrt(k) - std::sqrt(k - 1.0)), 1e-13) << k;
  }
  EXPECT_NEAR(model.CurrentY(n - 1, kColumn), 1 / std::sqrt(std::numbers::pi * (n - 1)),
              1e-3 / std::sqrt(n));
  EXPECT_EQ(model.CurrentY(1, 1), 7.0);
}

TEST(SemiDifferentiateCurve, BlockedSumsEqualTheTermByTermConvolution) {
  for (int n : {4, 11, 12, 13, 20, 1000}) {
    Model model = CurveModel(n, -0.2, 0.002);
    for (int i = 1; i <= n; ++i)
      model.CurrentY(i, kColumn) = std::cos(0.013 * i * i) + 1e-3 * i;
    Table2<double> original = model.CurrentY;
    SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);

    double c = 2 / std::sqrt(kPi * std::fabs(model.PotentialX(2) - model.PotentialX(1)));
    for (int k = 3; k <= n - 1; ++k) {
      double S = 0;
      for (int m = 1; m <= k - 1; ++m)
        S = S + SemiWeight(k - m) * original(m, kColumn);
      double expected = c * (S + original(k, kColumn));
      EXPECT_NEAR(model.CurrentY(k, kColumn), expected, 1e-12 * std::fabs(c) * k) << n << " " << k;
    }
  }
}

TEST(SemiDifferentiateCurve, ZeroSpacingAndTooFewOrTooManyPointsRaise) {
  Model model = CurveModel(10, 0.0, 0.0);
  for (int i = 1; i <= 10; ++i)
    model.CurrentY(i, kColumn) = i;
  try {
    SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Division by zero");
  }
  EXPECT_EQ(model.CurrentY(5, kColumn), 5.0);  // the curve is unchanged

  model = CurveModel(1, 0.0, 0.01);
  EXPECT_THROW(SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY), RuntimeError);
  model = CurveModel(10, 0.0, 0.01);
  model.NumberOfPoints = kMaxPoints + 1;
  try {
    SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Subscript out of range");
  }
  model = CurveModel(10, 0.0, 0.01);
  model.CurrentCurve = 9;  // beyond the curve store
  EXPECT_THROW(SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY), RuntimeError);
}

TEST(DifferentiateCurve, DecreasingAxisGivesTheSameSpacing) {
  const int n = 20;
  Model up = CurveModel(n, 0.0, 0.05);
  Model down = CurveModel(n, 0.0, -0.05);
  for (int i = 1; i <= n; ++i) {
    up.CurrentY(i, kColumn) = down.CurrentY(i, kColumn) = std::exp(0.1 * i);
  }
  DifferentiateCurve(up, up.PotentialX, up.CurrentY);
  DifferentiateCurve(down, down.PotentialX, down.CurrentY);
  for (int i = 1; i <= n; ++i) {
    EXPECT_EQ(up.CurrentY(i, kColumn), down.CurrentY(i, kColumn));
    EXPECT_GT(down.CurrentY(i, kColumn), 0.0);  // follows the point order, not the potential
  }
  // Central differences inside, one-sided at the ends.
  EXPECT_DOUBLE_EQ(up.CurrentY(1, kColumn), (std::exp(0.1 * 2) - std::exp(0.1 * 1)) / 0.05);
  EXPECT_DOUBLE_EQ(up.CurrentY(5, kColumn), (std::exp(0.1 * 6) - std::exp(0.1 * 4)) / 0.1);
}

TEST(DifferentiateCurve, ZeroSpacingRaises) {
  Model model = CurveModel(10, 0.5, 0.0);
  for (int i = 1; i <= 10; ++i)
    model.CurrentY(i, kColumn) = i;
  EXPECT_THROW(DifferentiateCurve(model, model.PotentialX, model.CurrentY), RuntimeError);
  EXPECT_EQ(model.CurrentY(4, kColumn), 4.0);
  model = CurveModel(10, 0.5, 0.1);
  model.NumberOfPoints = kMaxPoints + 1;
  EXPECT_THROW(DifferentiateCurve(model, model.PotentialX, model.CurrentY), RuntimeError);
}

}  // namespace
}  // namespace qalto
