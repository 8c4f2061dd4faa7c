#include "simulation/curve_derivatives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/constants.h"
#include "common/error_description.h"
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

// The semi-derivative of a constant is 1/sqrt(pi x); other curves are left alone.
TEST(SemiDifferentiateCurve, ConstantCurveFollowsTheInverseRootLaw) {
  const int n = 400;
  Model model = CurveModel(n, 0.0, 1.0);
  for (int i = 1; i <= n; ++i)
    model.CurrentY(i, kColumn) = 1.0;
  model.CurrentY(1, 1) = 7.0;
  SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);
  EXPECT_NEAR(model.CurrentY(n - 1, kColumn), 1 / std::sqrt(std::numbers::pi * (n - 1)),
              1e-3 / std::sqrt(n));
  EXPECT_EQ(model.CurrentY(1, 1), 7.0);
}

// The blocked sums of the program against the plain convolution, term by term, around the
// block lengths.
TEST(SemiDifferentiateCurve, BlockedSumsEqualTheTermByTermConvolution) {
  for (int n : {4, 11, 12, 13, 20, 1000}) {
    Model model = CurveModel(n, -0.2, 0.002);
    for (int i = 1; i <= n; ++i)
      model.CurrentY(i, kColumn) = std::cos(0.013 * i * i) + 1e-3 * i;
    GrowingTable2<double> original = model.CurrentY;
    SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);
    double c = 2 / std::sqrt(kPi * 0.002);
    for (int k = 3; k <= n - 1; ++k) {
      double S = 0;
      for (int m = 1; m <= k - 1; ++m)
        S = S + SemiWeight(k - m) * original(m, kColumn);
      EXPECT_NEAR(model.CurrentY(k, kColumn), c * (S + original(k, kColumn)), 1e-12 * c * k)
          << n << " " << k;
    }
  }
}

// Both derivatives refuse a zero spacing (leaving the curve as it was), more points than the
// store holds, and the semi-derivative a single point and a curve beyond the store.
TEST(CurveDerivatives, BadCurvesRaise) {
  using Derivative = void (*)(const Model&, const GrowingTable1<double>&, GrowingTable2<double>&);
  for (Derivative derive : {&SemiDifferentiateCurve, &DifferentiateCurve}) {
    Model model = CurveModel(10, 0.0, 0.0);
    for (int i = 1; i <= 10; ++i)
      model.CurrentY(i, kColumn) = i;
    EXPECT_EQ(ErrorDescription([&] { derive(model, model.PotentialX, model.CurrentY); }),
              "Division by zero");
    EXPECT_EQ(model.CurrentY(5, kColumn), 5.0);
    model = CurveModel(10, 0.0, 0.01);
    model.NumberOfPoints = kMaxPoints + 1;
    EXPECT_THROW(derive(model, model.PotentialX, model.CurrentY), RuntimeError);
  }
  Model model = CurveModel(1, 0.0, 0.01);
  EXPECT_THROW(SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY), RuntimeError);
  model = CurveModel(10, 0.0, 0.01);
  model.CurrentCurve = 9;  // beyond the curve store
  EXPECT_THROW(SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY), RuntimeError);
}

}  // namespace
}  // namespace qalto
