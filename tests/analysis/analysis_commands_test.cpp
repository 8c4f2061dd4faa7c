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

TEST_F(AnalysisCommands, TransformFailuresAreReported) {
  Simulate(1, "single");
  model.PotentialX(2) = model.PotentialX(1);  // no spacing
  ASSERT_EQ(app.ChooseMenu("mnuDerivative"), MenuOutcome::kDone);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Division by zero"), std::string::npos);
}

}  // namespace
}  // namespace qalto
