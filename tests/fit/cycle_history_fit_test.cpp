// A later cycle of a measurement fitted after the cycles before it: the import's choice "cycle 2
// after the cycles before it" joins the cycles, sets the fit window on the chosen one, and the
// fit simulates the others as its history.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "files/temp_folder.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

class CycleHistoryFitTest : public FitTest {
 protected:
  // Two digital cycles at 0.1 V/s with ks 0.01 cm/s, exported and imported again as the
  // measurement, then the chosen cycle fitted for ks from 0.03 cm/s.
  FittedParameter FitCycle(const char* choice) {
    Import(folder.Path("two_cycles.csv"));
    EXPECT_TRUE(app.Import().ComboCycle.SelectText(choice)) << choice;
    app.mnuExperimental_Click();
    Expr().ks(1).SetText("0.03");
    Fit(11, "1e-4", "1");
    app.mnuAutoFit_Click();
    EXPECT_TRUE(model.LastFit.valid) << choice;
    return Fitted(11);
  }

  // The "measurement": two cycles of 602 points, written as an instrument writes them, anodic
  // current positive, with the cycle of each point.
  void SetUp() override {
    DigitalCycle("0.1");
    app.mnuInstrument_Click();
    app.Ins().ComboScan.SelectText("2 cycles");
    app.Ins().cmdOK_Click();
    Measure();
    ASSERT_EQ(model.NumberOfPoints, 1204);
    std::ostringstream text;
    text.precision(17);
    text << "E (V),I (A),Scan\n";
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      text << model.PotentialX(i) << "," << -model.CurrentY(i, 1) << "," << (i <= 602 ? 1 : 2)
           << "\n";
    folder.Write("two_cycles.csv", text.str());
  }

  TempFolder folder;
};

TEST_F(CycleHistoryFitTest, ASecondCycleAfterTheFirstGivesBackTheTruth) {
  // The joined cycles and the fit window the choice sets: ImportDataTest.
  const FittedParameter afterFirst = FitCycle("scan 2 after the scans before it");
  EXPECT_NEAR(afterFirst.value, 0.01, 1e-5);
  const double withHistory = model.LastFit.sumOfSquares;
  // Alone, the second cycle is simulated from rest: its start is another experiment.
  const FittedParameter alone = FitCycle("scan 2");
  EXPECT_GT(model.LastFit.sumOfSquares, 100 * withHistory);
  EXPECT_GT(std::fabs(alone.value / 0.01 - 1), 0.05);
}

}  // namespace
}  // namespace qalto
