// Manual Fit and Auto Fit as the user runs them: recovery of known constants from simulated
// "measurements", the report, the captions of the fitted boxes, the curve slots and bad input.

#include <gtest/gtest.h>

#include <sstream>

#include "common/number_format.h"
#include "common/plain_number.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

std::string Padded(const std::string& text, size_t column) {
  return text + std::string(column - text.size(), ' ');
}

// A cycle of A + e = B simulated as the "measurement".
class AutoFitTest : public FitTest {
 protected:
  void SetUp() override {
    CyclicVoltammogram(1);
    Measure();
  }

  std::vector<std::string> ResultLines() {
    std::vector<std::string> lines;
    std::istringstream text(app.Result().Text());
    for (std::string line; std::getline(text, line);)
      lines.push_back(line);
    return lines;
  }

  // The value on the last line that begins with the label.
  std::string ReportValue(const std::string& label) {
    std::string value = "(missing)";
    for (const std::string& line : ResultLines()) {
      if (line.rfind(label, 0) == 0) value = line.substr(28);
    }
    return value;
  }
};

TEST_F(AutoFitTest, ExactModelStopsOnTheFirstCallWithTheFullReport) {
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();

  int m = model.NumberOfPoints;
  double mean = 0;
  for (int i = 1; i <= m; ++i)
    mean += model.CurrentY(i, 1);
  mean = mean / m;
  double variance = 0;
  for (int i = 1; i <= m; ++i)
    variance += (model.CurrentY(i, 1) - mean) * (model.CurrentY(i, 1) - mean);
  variance = variance / m;

  std::vector<std::string> expected{
      Padded("Least square = ", 28) + " 0 ",
      Padded(Padded("No.", 14) + "Initial value", 42) + "Fitted value",
      Padded(" 1 ", 14) + Padded(" .1 ", 14) + " .1 ",
      "",
      Padded("Least square = ", 28) + " 0 ",
      Padded("Standard deviation^2 = ", 28) + PrintedNumber(variance),
      Padded("Convergence flag = ", 28) + "-1 ",
      Padded("No. of iteration = ", 28) + " 1 ",
      Padded("No. of obj. fun. = ", 28) + " 1 ",
      Padded("No. of MARQUARDS = ", 28) + " 0 ",
      Padded("Computation time (s) =", 28) + " 0 ",
      "",
      "Parameter uncertainty",
      Padded("No.", 14) + Padded("Parameter", 14) + Padded("Value", 28) + Padded("Std. error", 14) +
          "95 % interval",
      // an exact fit leaves no residual: the error is 0 and the interval the value itself
      Padded(" 1 ", 14) + Padded("E0(1)", 14) + Padded("0.1", 14) + "\u00b1" +
          std::string(13, ' ') + Padded("0", 14) + Padded("0.1", 14) + "0.1",
      Padded("Residual variance = ", 28) + Padded(" 0 ", 14) + Padded("Degrees of freedom = ", 28) +
          " " + std::to_string(m - 1) + " ",
      "Correlation matrix",
      std::string(14, ' ') + "E0(1)",
      Padded("E0(1)", 14) + "1.000",
  };
  EXPECT_EQ(ResultLines(), expected);
  EXPECT_EQ(Expr().CheckFitted(31).Caption(), "1.e-1");
  EXPECT_TRUE(app.Result().Shown());
  EXPECT_EQ(model.FitObjectiveCount, 1);
  EXPECT_EQ(platform.busyChanges.back(), false);
}

TEST_F(AutoFitTest, InitialValueOutsideItsBoundsIsReportedAsTypedAndClamped) {
  Expr().Eze(1).SetText("0.25");
  Fit(31, "-0.2", "0.08");  // the true 0.1 lies beyond the maximum
  app.mnuAutoFit_Click();
  std::vector<std::string> lines = ResultLines();
  auto row = std::find_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind(" 1 ", 0) == 0; });
  ASSERT_NE(row, lines.end());
  EXPECT_EQ(row->substr(14, 5), " .25 ");
  // The fit starts at the maximum and cannot step outwards: it stays at its bound.
  EXPECT_EQ(model.ChargeE0(1), 0.08);
  EXPECT_EQ(Expr().CheckFitted(31).Caption(), "8.e-2");
}

TEST_F(AutoFitTest, MinimumAboveMaximumHoldsTheParameterAtTheMinimum) {
  Expr().Eze(1).SetText("0.05");
  Fit(31, "0.15", "-0.15");
  app.mnuAutoFit_Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.ChargeE0(1), 0.15);
  EXPECT_EQ(ReportValue("Convergence flag = "), "-2 ");
}

TEST_F(FitTest, AutoFitWithoutDataEndsWithAMessage) {
  UseAnalyticalMechanism(1);
  Expr().CheckFitted(1).SetChecked(true);
  app.mnuAutoFit_Click();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error: No data!"});
  EXPECT_FALSE(model.FitMode);
  EXPECT_EQ(platform.busyChanges, (std::vector<bool>{true, false}));
  // Separation draws again, and the plotter has nothing to draw either.
  app.mnuAutoSeparate_Click();
  EXPECT_EQ(platform.messages, std::vector<std::string>(3, "Error: No data!"));
  EXPECT_FALSE(model.FitMode);
}

TEST_F(AutoFitTest, AWindowWithoutPointsIsRefusedAndTooFewPointsFixNothing) {
  Expr().Eze(1).SetText("0.05");
  Fit(31, "-0.3", "0.3");
  Fit(71, "1e-6", "1e-4");
  // Points 5 to 3: none, which the fit used to read as no window at all.
  Expr().TextFitFirst.SetText("5");
  Expr().TextFitLast.SetText("3");
  app.mnuAutoFit_Click();
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"Input Error: the fit window (E from, to (V); points from, "
                                     "to) holds no point of Curve 1."});
  EXPECT_FALSE(model.LastFit.valid);
  // Two points for two parameters: the fit goes through them, and the scatter of the data,
  // with every standard error, is unknown (it was reported as 0, an interval of no width).
  platform.messages.clear();
  Expr().TextFitFirst.SetText("100");
  Expr().TextFitLast.SetText("101");
  app.mnuAutoFit_Click();
  EXPECT_TRUE(platform.messages.empty());
  ASSERT_TRUE(model.LastFit.valid);
  EXPECT_EQ(model.LastFit.degreesOfFreedom, 0);
  for (const FittedParameter& p : model.LastFit.parameters)
    EXPECT_TRUE(p.Undetermined()) << p.name;
}

TEST_F(AutoFitTest, SimulationFailureEndsTheFitWithTheDriversMessage) {
  app.Ins().Estep.SetText("0");  // possible in a box, impossible for the sweep's time step
  Fit(71, "1e-6", "1e-4");
  app.mnuAutoFit_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].rfind("Analytical simulation Error: ", 0), 0u);
  EXPECT_NE(platform.messages[0].find("! Please try again by other initial values."),
            std::string::npos);
  EXPECT_EQ(app.Result().Text(), "");
  EXPECT_FALSE(model.FitMode);
  EXPECT_EQ(platform.busyChanges.back(), false);
}

}  // namespace
}  // namespace qalto
