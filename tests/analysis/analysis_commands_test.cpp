// The Analyze menu on curves of the analytical model, driven as a user drives the program.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/curve_integral.h"
#include "analysis/theoretical_peak.h"
#include "app/app_fixture.h"
#include "simulation/curve_derivatives.h"

namespace qalto {
namespace {

class AnalysisCommands : public AppTest {
 protected:
  // The default reaction (E0' = 0.1 V, n = 1, D = 1e-5 cm2/s, 1 mM, ks = 1e4 cm/s: reversible)
  // at a planar electrode, analytical model, 1 mV steps from 0.3 V to -0.3 V at 10 mV/s.
  void Simulate(int technique, const char* scan) {
    UseAnalyticalMechanism(1);
    app.mnuTech_Click();
    app.Tech().optTech(technique).Click();
    app.Tech().CmdOK_Click();
    app.mnuInstrument_Click();
    app.Ins().Estep.SetText("0.001");
    app.Ins().ComboScan.SelectText(scan);
    ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
    ASSERT_TRUE(platform.messages.empty());
    app.ActivateMainWindow();
  }

  TheoreticalValues Theory() {
    app.Refresh();
    return TheoreticalPeakValues(model, 1, ReadNumber(app.Ins().radius.Text()));
  }

  // The numbers written after label in the result window, in order.
  std::vector<double> Printed(const std::string& label) {
    std::vector<double> numbers;
    const std::string& text = app.Result().Text();
    for (size_t at = text.find(label); at != std::string::npos; at = text.find(label, at + 1)) {
      numbers.push_back(ReadNumber(text.substr(at + label.size())));
    }
    return numbers;
  }

  int draws = 0;
};

TEST_F(AnalysisCommands, FindPeakOnAReversibleCyclicVoltammogramAgreesWithTheory) {
  Simulate(1, "cycle");
  ASSERT_EQ(app.ChooseMenu("mnuFindPeak"), MenuOutcome::kDone);
  ASSERT_EQ(model.PeakCount, 2);
  double ipc = model.PeakCurrent(1, 1);  // reduction: positive
  double epc = model.PeakPotential(1, 1);
  double ipa = model.PeakCurrent(2, 1);
  double epa = model.PeakPotential(2, 1);
  EXPECT_GT(ipc, 0);
  EXPECT_LT(ipa, 0);

  TheoreticalValues theory = Theory();
  EXPECT_NEAR(ipc / *theory.reversible.current, 1, 0.01);
  EXPECT_NEAR(epc, *theory.reversible.potential, 0.002);
  // Separation 2.218 RT/nF = 57 mV, mid-point at E1/2 = E0' (equal D).
  EXPECT_NEAR(epa - epc, 2.218 * model.RTOverF, 0.002);
  EXPECT_NEAR((epa + epc) / 2, 0.1, 0.001);
  std::vector<double> ratio = Printed("Ipa/Ipc = ");
  ASSERT_EQ(ratio.size(), 1u);
  EXPECT_NEAR(ratio[0], 1, 0.03);
  EXPECT_NEAR(Printed("Ep2 - Ep1 = ")[0], epa - epc, 1e-4);
  EXPECT_NEAR(Printed("(Ep2 + Ep1)/2 = ")[0], (epa + epc) / 2, 1e-4);
}

TEST_F(AnalysisCommands, TheoreticalPeakWritesIntoTheResultWindow) {
  Simulate(1, "cycle");
  ASSERT_EQ(app.ChooseMenu("mnuTheoPeak"), MenuOutcome::kDone);
  EXPECT_TRUE(app.Result().Shown());
  EXPECT_NEAR(Printed("Reversible Peak  1 :   Ep= ")[0], 0.0715, 1e-12);
  EXPECT_NEAR(Printed("|Epc-Epa|=")[0], 2.3 * model.RTOverF, 1e-4);
  // Digital simulation has no theoretical values: the command cannot be chosen.
  app.mnuMechamism_Click();
  app.Mech().CheckDigital.Click();
  app.ActivateMainWindow();
  EXPECT_EQ(app.ChooseMenu("mnuTheoPeak"), MenuOutcome::kDisabled);
}

TEST_F(AnalysisCommands, HalfWavePotentialAndLogPlotOfAReversibleDcWave) {
  Simulate(2, "single");
  TheoreticalValues theory = Theory();
  ASSERT_EQ(app.ChooseMenu("mnuFindHalfwaveE"), MenuOutcome::kDone);
  std::vector<double> halfWave = Printed("E1/2= ");
  ASSERT_EQ(halfWave.size(), 1u);
  // The first point at or past half the height: within one step of E1/2.
  EXPECT_NEAR(halfWave[0], *theory.reversible.potential, 0.001 + 1e-9);
  EXPECT_NEAR(Printed("Id= ")[0] / *theory.reversible.current, 1, 0.01);

  app.Plot().drawingObserver = [this] { ++draws; };
  ASSERT_EQ(app.ChooseMenu("mnuLog"), MenuOutcome::kDone);
  EXPECT_GT(draws, 0);
  // Least-squares line through the points from 0.2 V to 0 V (the last points lie on the
  // plateau, where Id - I is lost in rounding).
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int count = 0;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    double e = model.PotentialX(i);
    if (e > 0.2 + 1e-9 || e < -1e-9) continue;
    double y = model.CurrentY(i, 1);
    sx += e;
    sy += y;
    sxx += e * e;
    sxy += e * y;
    ++count;
  }
  double slope = (count * sxy - sx * sy) / (count * sxx - sx * sx);  // 1/V
  double intercept = (sy - slope * sx) / count;
  EXPECT_NEAR(slope / (model.FOverRT / 2.3), 1, 0.01);                   // nF/(2.3 RT) per volt
  EXPECT_NEAR(-intercept / slope, *theory.reversible.potential, 0.001);  // 0 at E1/2
}

TEST_F(AnalysisCommands, TransformsActOnTheCurrentCurveAndRedraw) {
  Simulate(1, "single");
  Table2<double> expected = model.CurrentY;
  app.Plot().drawingObserver = [this] { ++draws; };

  ASSERT_EQ(app.ChooseMenu("mnuSemi"), MenuOutcome::kDone);
  SemiDifferentiateCurve(model, model.PotentialX, expected);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    EXPECT_EQ(model.CurrentY(i, 1), expected(i, 1));
  EXPECT_GT(draws, 0);

  ASSERT_EQ(app.ChooseMenu("mnuSemiInte"), MenuOutcome::kDone);
  IntegrateCurve(model, model.PotentialX, expected);
  SemiDifferentiateCurve(model, model.PotentialX, expected);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    EXPECT_EQ(model.CurrentY(i, 1), expected(i, 1));

  ASSERT_EQ(app.ChooseMenu("mnuIntegral"), MenuOutcome::kDone);
  ASSERT_EQ(app.ChooseMenu("mnuDerivative"), MenuOutcome::kDone);
  for (int i = 3; i < model.NumberOfPoints; ++i) {
    double neighbours = (expected(i - 1, 1) + 2 * expected(i, 1) + expected(i + 1, 1)) / 4;
    EXPECT_NEAR(model.CurrentY(i, 1), neighbours, 1e-12 * std::fabs(neighbours) + 1e-20) << i;
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AnalysisCommands, TransformFailuresAreReported) {
  Simulate(1, "single");
  model.PotentialX(2) = model.PotentialX(1);  // no spacing
  ASSERT_EQ(app.ChooseMenu("mnuDerivative"), MenuOutcome::kDone);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Division by zero"), std::string::npos);
}

}  // namespace
}  // namespace qalto
