// A fit of technique 8 to a curve measured at uneven instants, with its own E(t) as the program
// (File > Potential Program from Data): E0 and ks moved away from the truth come back, in both
// modes.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "common/plain_number.h"
#include "common/test_names.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

constexpr double kTrueE0 = 0.1;   // V
constexpr double kTrueKs = 0.01;  // cm/s

// 0.4 V to -0.2 V and back at 0.1 V/s, a row every 20 ms +-40 %, the turn one of them.
std::string UnevenCycle() {
  std::string csv = "time/s,Ewe/V,I/A\n";
  double t = 0.0;
  for (int k = 1; t < 12.0; ++k) {
    const double E = t <= 6.0 ? 0.4 - 0.1 * t : -0.2 + 0.1 * (t - 6.0);
    csv += PlainNumber(t) + "," + PlainNumber(E) + ",0\n";
    const double next = std::min(t + 0.02 * (1.0 + 0.4 * std::sin(2.3 * k)), 12.0);
    t = t < 6.0 && next > 6.0 ? 6.0 : next;
  }
  return csv + "12,0.4,0\n";
}

class ProgramFitTest : public FitTest, public testing::WithParamInterface<bool> {};

TEST_P(ProgramFitTest, UnevenInstantsGiveBackTheTruth) {
  if (!GetParam()) UseAnalyticalMechanism(1);
  const std::string path = testing::TempDir() + "uneven_cycle.csv";
  std::ofstream(path) << UnevenCycle();
  ASSERT_EQ(Import(path), MenuOutcome::kDone);
  ASSERT_EQ(app.ChooseMenu("mnuProgramFromData"), MenuOutcome::kDone);
  ASSERT_TRUE(app.Program().File().atRows);
  ChooseTechnique(8);
  app.mnuExperimental_Click();
  for (int code : {1, 2, 11, 21, 31, 71, 72})
    Expr().CheckFitted(code).SetChecked(false);
  Expr().ks(1).SetText(PlainNumber(kTrueKs));
  Expr().Eze(1).SetText(PlainNumber(kTrueE0));
  Expr().alph(1).SetText("0.5");
  Measure();
  const int rows = model.NumberOfPoints;
  ASSERT_GT(rows, 500);
  Expr().ks(1).SetText("0.03");
  Expr().Eze(1).SetText("0.13");
  Fit(11, "1e-4", "10");
  Fit(31, "-0.2", "0.4");
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid) << platform.messages.back();
  EXPECT_EQ(model.NumberOfPoints, rows);
  EXPECT_NEAR(Fitted(31).value, kTrueE0, 1e-5);
  EXPECT_NEAR(Fitted(11).value / kTrueKs, 1.0, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Modes, ProgramFitTest, testing::Bool(), ModeName);

}  // namespace
}  // namespace qalto
