// Manual Fit and Auto Fit as the user runs them: recovery of known constants from simulated
// "measurements", the report, the captions of the fitted boxes, the curve slots and bad input.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "common/number_format.h"
#include "common/plain_number.h"
#include "files/temp_folder.h"
#include "fit/fit_parameters.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

std::string Padded(const std::string& text, size_t column) {
  return text + std::string(column - text.size(), ' ');
}

class AutoFitTest : public FitTest {
 protected:
  std::vector<std::string> ResultLines() {
    std::vector<std::string> lines;
    std::string text = app.Result().Text();
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
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

TEST_F(AutoFitTest, RecoversStandardPotentialRateConstantAndAlphaOfAQuasiReversibleCycle) {
  // ks = 1e-3 cm/s at 10 mV/s is quasi-reversible (ks / sqrt(D f v) = 0.5): the peaks are
  // spread by the kinetics, so E0, ks and alpha each leave their own mark on the curve.
  CyclicVoltammogram(1, "1e-6");
  Expr().ks(1).SetText("1e-3");
  Expr().alph(1).SetText("0.5");
  Expr().Eze(1).SetText("0.1");
  Measure();
  std::map<int, double> truth{{11, 1e-3}, {21, 0.5}, {31, 0.1}};
  std::map<int, double> error = StandardErrors({11, 21, 31}, 1e-6);

  // From ks = 3e-3 the first Marquardt step in ks leaves its range and is dropped at every
  // iteration, so the fit starts at twice the true rate.
  Expr().ks(1).SetText("2e-3");
  Expr().alph(1).SetText("0.45");
  Expr().Eze(1).SetText("0.12");
  Fit(11, "1e-5", "1");
  Fit(21, "0.3", "0.7");
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();

  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ReportValue("Convergence flag = "), "-2 ");
  // The noise is Gaussian with sigma 1e-6 A, about 1 % of the peak; the fit stops where the sum
  // falls by less than 0.02 % a step, well inside a standard error, so four standard errors
  // bound the deviation.
  for (auto [code, value] : truth) {
    double fitted = FittedField(model, code);
    EXPECT_NEAR(fitted, value, 4 * error[code]) << "code " << code;
    EXPECT_EQ(Expr().CheckFitted(code).Caption(), FormatNumber(fitted, "0.###e-#"));
  }
  // The errors themselves are small: the test is sharp.
  EXPECT_LT(error[11], 0.1 * 1e-3);
  EXPECT_LT(error[21], 0.02);
  EXPECT_LT(error[31], 0.005);
  // The sum of squares ends near its expectation M sigma^2.
  double S = ReadNumber(ReportValue("Least square = "));
  EXPECT_NEAR(S / (model.NumberOfPoints * 1e-12), 1.0, 0.15);
  EXPECT_EQ(model.FitParameterCount, 3);
  EXPECT_EQ(model.FitParameterCode(1), 11);
  EXPECT_EQ(model.FitParameterCode(2), 21);
  EXPECT_EQ(model.FitParameterCode(3), 31);
  // Curve 1 still holds the measurement, curve 2 the fit at the fitted values.
  EXPECT_EQ(model.CurveCount, 2);
  EXPECT_FALSE(model.FitMode);
}

TEST_F(AutoFitTest, RecoversConcentrationAndDiffusionCoefficient) {
  // In a quasi-reversible cycle C scales the current while D also sets the kinetic parameter
  // ks / sqrt(D f v), so both are found from one curve.
  CyclicVoltammogram(1, "1e-6");
  Expr().ks(1).SetText("1e-2");
  Measure();
  double c = Value(Expr().Cinit(1));  // the concentration the simulation used, M
  std::map<int, double> error = StandardErrors({1, 71}, 1e-6);

  Expr().C(1).SetText("0.7e-3");
  Expr().D(1).SetText("2e-5");
  Fit(1, "1e-4", "1e-2");
  Fit(71, "1e-6", "1e-4");
  app.mnuAutoFit_Click();

  EXPECT_TRUE(platform.messages.empty());
  EXPECT_NEAR(model.SpeciesC(1), c, 4 * error[1]);
  EXPECT_NEAR(model.SpeciesD(1), 1e-5, 4 * error[71]);
  EXPECT_LT(error[71], 0.05 * 1e-5);
  EXPECT_EQ(ReportValue("Convergence flag = "), "-2 ");
}

TEST_F(AutoFitTest, ExportedAndImportedMeasurementIsFitted) {
  // The measurement goes through a data file, as measured data reach the program.
  CyclicVoltammogram(1, "1e-6");
  Expr().ks(1).SetText("1e-3");
  Measure();
  std::map<int, double> error = StandardErrors({11, 21, 31}, 1e-6);
  TempFolder folder;
  platform.QueueDialogAnswer(folder.Path("cycle.csv"));
  app.mnuExport_Click();
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    model.CurrentY(i, 1) = 0;
  platform.QueueDialogAnswer(folder.Path("cycle.csv"));
  app.mnuImport_Click();
  ASSERT_TRUE(platform.messages.empty());
  ASSERT_EQ(model.NumberOfPoints, 1202);
  // The import offers the first current as the start of a baseline; these data have none.
  app.Ins().TxtI0.SetText("0");

  // From ks = 3e-3 the first Marquardt step in ks leaves its range and is dropped at every
  // iteration, so the fit starts at twice the true rate.
  Expr().ks(1).SetText("2e-3");
  Expr().alph(1).SetText("0.45");
  Expr().Eze(1).SetText("0.12");
  Fit(11, "1e-5", "1");
  Fit(21, "0.3", "0.7");
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ReportValue("Convergence flag = "), "-2 ");
  EXPECT_NEAR(model.ChargeKs(1), 1e-3, 4 * error[11]);
  EXPECT_NEAR(model.ChargeAlpha(1), 0.5, 4 * error[21]);
  EXPECT_NEAR(model.ChargeE0(1), 0.1, 4 * error[31]);
}

TEST_F(AutoFitTest, DigitalSimulationFitsTheSameWay) {
  // The default digital experiment: Fe3+ + e = Fe2+ at a planar electrode.
  app.mnuInstrument_Click();
  FormIns& ins = app.Ins();
  ins.Estart.SetText("0.3");
  ins.Eend.SetText("-0.3");
  ins.Estep.SetText("0.002");
  ins.V.SetText("0.01");
  ins.Noise.SetText("1e-6");
  ins.ComboScan.SelectText("cycle");
  ins.cmdOK_Click();
  app.mnuExperimental_Click();
  ASSERT_TRUE(model.DigitalSimulation);
  Expr().CheckFitted(1).SetChecked(false);
  Expr().ks(1).SetText("1e-3");
  Measure();
  std::map<int, double> error = StandardErrors({11, 31}, 1e-6);
  Expr().ks(1).SetText("2e-3");
  Expr().Eze(1).SetText("0.12");
  Fit(11, "1e-5", "1");
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_NEAR(model.ChargeKs(1), 1e-3, 4 * error[11]);
  EXPECT_NEAR(model.ChargeE0(1), 0.1, 4 * error[31]);
  EXPECT_LT(error[31], 0.005);
}

TEST_F(AutoFitTest, NoiseFreeDataAreRecoveredClosely) {
  CyclicVoltammogram(1);
  Expr().ks(1).SetText("1e-3");
  Measure();
  Expr().ks(1).SetText("2e-3");
  Expr().Eze(1).SetText("0.08");
  Fit(11, "1e-5", "1");
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  // The fit ends where a step lowers the sum by less than 0.02 %: here at a sum seven orders
  // below the data's own sum of squares, a tenth of a millivolt and a few per mille from the
  // true values (a tenth of the standard errors that 1 % noise would give).
  EXPECT_LT(ReadNumber(ReportValue("Convergence flag = ")), 0);
  double S = ReadNumber(ReportValue("Least square = "));
  double V = ReadNumber(ReportValue("Standard deviation^2 = "));
  EXPECT_LT(S, 1e-6 * V * model.NumberOfPoints);
  EXPECT_NEAR(model.ChargeKs(1), 1e-3, 0.005 * 1e-3);
  EXPECT_NEAR(model.ChargeE0(1), 0.1, 0.0003);
}

TEST_F(AutoFitTest, ExactModelStopsOnTheFirstCallWithTheFullReport) {
  CyclicVoltammogram(1);
  Measure();
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
  CyclicVoltammogram(1);
  Measure();
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
  CyclicVoltammogram(1);
  Measure();
  Expr().Eze(1).SetText("0.05");
  Fit(31, "0.15", "-0.15");
  app.mnuAutoFit_Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.ChargeE0(1), 0.15);
  EXPECT_EQ(ReportValue("Convergence flag = "), "-2 ");
}

TEST_F(AutoFitTest, HiddenCheckedBoxIsNotFitted) {
  // E0 of a second charge reaction, checked under mechanism 2, stays checked but hidden under
  // mechanism 1.
  CyclicVoltammogram(2);
  Fit(32, "-0.3", "0.3");
  CyclicVoltammogram(1);
  Expr().CheckFitted(32).SetChecked(true);
  Expr().OK();
  ASSERT_FALSE(Expr().CheckFitted(32).Visible());
  Measure();
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  EXPECT_EQ(model.FitParameterCount, 1);
  EXPECT_EQ(model.FitParameterCode(1), 31);
}

TEST_F(AutoFitTest, WithoutFittedParametersTheReportHasNoParameterLines) {
  CyclicVoltammogram(1);
  Measure();
  Expr().Eze(1).SetText("0.05");
  app.mnuAutoFit_Click();
  std::vector<std::string> lines = ResultLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], Padded(Padded("No.", 14) + "Initial value", 42) + "Fitted value");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(ReportValue("Convergence flag = "), "-2 ");
  EXPECT_EQ(ReportValue("No. of iteration = "), " 1 ");
  EXPECT_EQ(ReportValue("No. of MARQUARDS = "), " 25 ");
  EXPECT_EQ(ReportValue("No. of obj. fun. = "), " 26 ");
  EXPECT_EQ(model.FitParameterCount, 0);
}

TEST_F(AutoFitTest, OverlapIsSwitchedOffAndOnlyDataAndFitRemain) {
  CyclicVoltammogram(1);
  app.mnuOption_Click();
  app.Option().overlap.SetChecked(true);
  Measure();
  app.mnuSimulate_Click();
  ASSERT_EQ(model.CurveCount, 2);
  model.CurrentCurve = 2;
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  EXPECT_FALSE(app.Option().overlap.Checked());
  EXPECT_EQ(model.CurveCount, 2);
  EXPECT_EQ(model.CurrentCurve, 2);
  EXPECT_EQ(model.TargetCurve, 2);
}

TEST_F(AutoFitTest, NoDataEndsWithAMessage) {
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

TEST_F(AutoFitTest, SimulationFailureEndsTheFitWithTheDriversMessage) {
  CyclicVoltammogram(1);
  Measure();
  Expr().D(1).SetText("0");
  Fit(71, "0", "1e-4");
  app.mnuAutoFit_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].rfind("Analytical simulation Error: ", 0), 0u);
  EXPECT_NE(platform.messages[0].find("! Please try again by other initial values."),
            std::string::npos);
  EXPECT_EQ(app.Result().Text(), "");
  EXPECT_FALSE(model.FitMode);
  EXPECT_EQ(platform.busyChanges.back(), false);
  // The program goes on: a sensible fit afterwards works.
  platform.messages.clear();
  Expr().D(1).SetText("1e-5");
  Expr().CheckFitted(71).SetChecked(false);
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ReportValue("Convergence flag = "), "-1 ");
}

TEST_F(AutoFitTest, ManualFitDrawsOneSimulationBesideTheData) {
  CyclicVoltammogram(1, "1e-6");
  Measure();
  std::vector<double> data;
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    data.push_back(model.CurrentY(i, 1));
  Expr().Eze(1).SetText("0.05");
  app.mnuManualFit_Click();
  EXPECT_EQ(model.CurveCount, 2);
  EXPECT_EQ(model.CurrentCurve, 2);
  EXPECT_EQ(model.ChargeE0(1), 0.05);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    ASSERT_EQ(model.CurrentY(i, 1), data[static_cast<size_t>(i - 1)]);
  // No noise in the fitted curve: it equals the total current of the reactions.
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    ASSERT_EQ(model.CurrentY(i, 2), model.ReactionCurrents(i, model.TotalCurrentColumn));
  }
  EXPECT_FALSE(model.FitMode);
  EXPECT_EQ(platform.busyChanges, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(app.Result().Text(), "");
}

}  // namespace
}  // namespace qalto
