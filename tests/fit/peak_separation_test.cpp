// Peak separation: the current of every charge reaction beside the data and the total.

#include "fit/peak_separation.h"

#include <gtest/gtest.h>

#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

using SeparationTest = FitTest;

TEST_F(SeparationTest, TwoOverlappedComponentsAreSeparatedAfterFitting) {
  // Mechanism 4: A + e = B at 0.1 V and C + e = D at 0.04 V, 1 mM each; 60 mV apart, the two
  // reductions merge into one broad wave.
  CyclicVoltammogram(4, "1e-6");
  Expr().C(3).SetText("1e-3");
  Expr().Eze(2).SetText("0.04");
  Measure();
  Expr().Eze(1).SetText("0.13");
  Expr().Eze(2).SetText("0.0");
  Fit(31, "-0.2", "0.2");
  Fit(32, "-0.2", "0.2");
  app.mnuAutoSeparate_Click();

  EXPECT_TRUE(platform.messages.empty());
  // Noise of sigma 1e-6 A (about 1 % of the peak) leaves each E0 a standard error below 2 mV.
  EXPECT_NEAR(model.ChargeE0(1), 0.1, 0.006);
  EXPECT_NEAR(model.ChargeE0(2), 0.04, 0.006);
  ASSERT_EQ(model.CurveCount, 4);
  double scale = LargestMagnitude(2);
  EXPECT_GT(LargestMagnitude(3), 0.3 * scale);
  EXPECT_GT(LargestMagnitude(4), 0.3 * scale);
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    ASSERT_EQ(model.CurrentY(i, 3), model.ReactionCurrents(i, 1));
    ASSERT_EQ(model.CurrentY(i, 4), model.ReactionCurrents(i, 2));
    // without charging current the total is the sum of its components
    ASSERT_NEAR(model.CurrentY(i, 3) + model.CurrentY(i, 4), model.CurrentY(i, 2), 1e-12 * scale);
  }
  // Auto Separate ran Auto Fit with its report.
  EXPECT_NE(app.Result().Text().find("Convergence flag = "), std::string::npos);
  EXPECT_FALSE(model.FitMode);
}

}  // namespace
}  // namespace qalto
