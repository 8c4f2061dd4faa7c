#include <gtest/gtest.h>

#include <cmath>

#include "analysis/curve_integral.h"
#include "analysis/log_wave.h"
#include "simulation/curve_derivatives.h"

namespace qalto {
namespace {

class CurveTransforms : public ::testing::Test {
 protected:
  // Curve 2 of n points spaced h volts apart from start.
  template <typename Current>
  void MakeCurve(int n, double start, double h, Current current) {
    m.NumberOfPoints = n;
    m.CurveCount = 2;
    m.CurrentCurve = 2;
    for (int i = 1; i <= n; ++i) {
      m.PotentialX(i) = start + h * (i - 1);
      m.CurrentY(i, 2) = current(m.PotentialX(i));
      m.CurrentY(i, 1) = 7;  // another curve, never touched
    }
  }

  Model m;
};

TEST_F(CurveTransforms, DifferentiateAfterIntegrateGivesTheCurveBack) {
  // The central difference of the trapezoid sum averages three neighbours with weights 1/4,
  // 1/2, 1/4: within h^2 Y''/4 of a smooth peak. Point 2 is an end too: point 1 carries the
  // integral of point 2.
  auto peak = [](double e) { return 1e-5 * std::exp(-std::pow((e - 0.1) / 0.03, 2)); };
  MakeCurve(100, 0, 0.002, peak);
  IntegrateCurve(m, m.PotentialX, m.CurrentY);
  DifferentiateCurve(m, m.PotentialX, m.CurrentY);
  // |Y''| <= 2 x 1e-5 / 0.03^2 = 0.022 A/V2, h^2/4 = 1e-6 V2.
  for (int i = 3; i <= 99; ++i)
    EXPECT_NEAR(m.CurrentY(i, 2), peak(m.PotentialX(i)), 2.3e-8) << i;
}

TEST_F(CurveTransforms, LogFailuresRepeatTheLastGoodLogarithm) {
  // Id = 4 (the last point). Point 1: ratio (4-0)/0 fails before any success: 1/ln 10.
  // Point 2: (4-1)/1 = 3. Point 3: (4-5)/5 < 0 fails: log10 3 again. Point 4: (4-2)/2 = 1.
  // Point 5: (4-4)/4 = 0 fails: log10 1 = 0. Point 6: extrapolated, 2 x 0 - 0.
  const double values[] = {0, 0, 1, 5, 2, 4, 4};
  MakeCurve(6, 0, 0.01,
            [&](double e) { return values[static_cast<int>(std::lround(e * 100)) + 1]; });
  LogWaveCurve(m, m.CurrentY);
  EXPECT_DOUBLE_EQ(m.CurrentY(1, 2), 1 / std::log(10.0));
  EXPECT_DOUBLE_EQ(m.CurrentY(2, 2), std::log10(3.0));
  EXPECT_DOUBLE_EQ(m.CurrentY(3, 2), std::log10(3.0));
  EXPECT_DOUBLE_EQ(m.CurrentY(4, 2), 0);
  EXPECT_DOUBLE_EQ(m.CurrentY(5, 2), 0);
  EXPECT_DOUBLE_EQ(m.CurrentY(6, 2), 0);
  EXPECT_EQ(m.CurrentY(3, 1), 7);
}

}  // namespace
}  // namespace qalto
