// The uncertainty of fits to noisy "measurements": the coverage of the 95 % intervals, a
// parameter the data cannot see, and derivative columns on several threads. Recovery from
// distant starts is checked by the fit_recovery scenarios.

#include <gtest/gtest.h>

#include <string>

#include "app/batch_record.h"
#include "app/session_script.h"
#include "files/parameter_report.h"
#include "files/temp_folder.h"
#include "fit/fit_parameters.h"
#include "fit/fit_test_fixture.h"
#include "fit/parameter_uncertainty.h"

namespace qalto {
namespace {

constexpr double kTrueE0 = 0.1;   // V
constexpr double kTrueKs = 0.01;  // cm/s

class FitUncertaintyTest : public FitTest {
 protected:
  void Start(const std::string& e0, const std::string& ks) {
    Expr().Eze(1).SetText(e0);
    Expr().ks(1).SetText(ks);
  }
};

TEST_F(FitUncertaintyTest, NinetyFivePercentIntervalsCoverTheTruth) {
  DigitalCycle("0.1");
  int coveredE0 = 0;
  int coveredKs = 0;
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Start("0.1", "0.01");
    MeasureWithNoise(0.01, seed);
    Start("0.05", "0.05");
    Fit(11, "1e-4", "100");
    Fit(31, "-0.2", "0.2");
    app.mnuAutoFit_Click();
    ASSERT_TRUE(model.LastFit.valid) << "seed " << seed;
    coveredE0 += Covers(31, kTrueE0) ? 1 : 0;
    coveredKs += Covers(11, kTrueKs) ? 1 : 0;
  }
  EXPECT_GE(coveredE0, 19);
  EXPECT_GE(coveredKs, 19);
}

TEST_F(FitUncertaintyTest, ParameterWithoutInfluenceIsUndetermined) {
  // EC' without Z: the catalytic reaction is switched off, and its kf does nothing to the curve.
  CyclicVoltammogram(8);
  app.Ins().V.SetText("1");
  app.Ins().cmdOK_Click();
  Expr().C(3).SetText("0");
  Expr().ks(1).SetText("0.01");
  Expr().Eze(1).SetText("0.1");
  MeasureWithNoise(0.01, 5);
  Start("0.05", "0.05");
  Expr().kf(1).SetText("10");
  Fit(11, "1e-4", "100");
  Fit(31, "-0.2", "0.2");
  Fit(41, "1", "100");
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  EXPECT_FALSE(Fitted(41).determined);
  EXPECT_TRUE(Fitted(11).determined && Fitted(31).determined);
  EXPECT_NEAR(model.ChargeE0(1), kTrueE0, 0.002);
  EXPECT_NE(app.Result().Text().find(" 3            kf(1)         10            undetermined: the "
                                     "data do not fix it\n"),
            std::string::npos)
      << app.Result().Text();
  // The saved parameter report carries the same verdict.
  EXPECT_NE(
      ParameterReportText(model).find("kf(1) :\r\n 10 \r\nStandard error :\r\nundetermined\r\n"),
      std::string::npos)
      << ParameterReportText(model);
}

// The profile of E0 of a well-determined wave is the interval of its standard error; that of
// ks, moved on a log scale, an interval of its own that covers the truth; the result window and
// the record show them; a name that was not fitted and a profile before any fit are refused.
TEST_F(FitUncertaintyTest, ProfileIntervalsOfAFittedWave) {
  DigitalCycle("0.1");
  app.mnuProfileIntervals_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Error: No fit to profile! Profile Intervals follow an Auto Fit or a Global Fit.");
  MeasureWithNoise(0.01, 3);
  Start("0.05", "0.05");
  Fit(11, "1e-4", "100");
  Fit(31, "-0.2", "0.2");
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  Expr().TextProfile.SetText("kf(1)");
  app.mnuProfileIntervals_Click();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1], "Error: Profile: kf(1) is not a parameter of the last fit!");
  Expr().TextProfile.SetText("E0(1), ks(1)");
  app.mnuProfileIntervals_Click();
  ASSERT_EQ(platform.messages.size(), 2u) << platform.messages.back();
  ExpectProfilesOfE0AndKs(kTrueKs);
  EXPECT_FALSE(Fitted(11).profileLowerOpen || Fitted(11).profileUpperOpen);
  EXPECT_NE(app.Result().Text().find("Profile-likelihood 95 % intervals"), std::string::npos);
  EXPECT_NE(app.Result().Text().find("ks(1)"), std::string::npos);
  // A session keeps the fit with its profiles: reopened, its report, record and table are the
  // same, and so is the session saved again.
  TempFolder folder;
  ASSERT_TRUE(app.SaveSessionTo(folder.Path("fit.qs")));
  RecordingPlatform otherPlatform;
  App other(otherPlatform);
  ASSERT_TRUE(other.OpenSessionFrom(folder.Path("fit.qs"))) << otherPlatform.messages.back();
  const FitResult& kept = other.model().LastFit;
  ASSERT_TRUE(kept.valid);
  ASSERT_EQ(kept.parameters.size(), model.LastFit.parameters.size());
  for (size_t p = 0; p < kept.parameters.size(); ++p) {
    const FittedParameter& a = kept.parameters[p];
    const FittedParameter& b = model.LastFit.parameters[p];
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.value, b.value);
    EXPECT_EQ(a.standardError, b.standardError);
    EXPECT_TRUE(a.profiled);
    EXPECT_EQ(a.profileLower, b.profileLower);
    EXPECT_EQ(a.profileUpper, b.profileUpper);
  }
  EXPECT_EQ(kept.correlation, model.LastFit.correlation);
  EXPECT_EQ(ParameterReportText(other.model()), ParameterReportText(model));
  EXPECT_EQ(RunRecordJson({}, other.model()), RunRecordJson({}, model));
  EXPECT_EQ(other.LastFitTable().size(), app.LastFitTable().size());
  EXPECT_EQ(SessionScript(other), SessionScript(app));
}

// Marcus-Hush kinetics: the reorganisation energy of a slow couple (ks 1e-3 cm/s at 1 V/s, its
// peaks 0.2 V from E0, where lambda 0.3 eV bends the Tafel line) fitted with ks from lambda
// 0.8 eV, to noise of 0.5 %: found within its 95 % interval, on a log scale as a positive
// quantity; bounds below the truth hold it at the bound, flagged.
TEST_F(FitUncertaintyTest, ReorganisationEnergyFittedWithinBoundsWithItsInterval) {
  CyclicVoltammogram(1);
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.5");
  app.Ins().Eend.SetText("-0.5");
  app.Ins().Estep.SetText("0.002");
  app.Ins().V.SetText("1");
  app.Ins().cmdOK_Click();
  app.mnuExperimental_Click();
  Start("0", "0.001");
  Expr().lambda(1).SetText("0.3");
  MeasureWithNoise(0.005, 3);
  Expr().lambda(1).SetText("0.8");
  Expr().ks(1).SetText("0.003");
  Fit(11, "1e-5", "1");
  Fit(61, "0.1", "5");
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid) << app.Result().Text();
  const FittedParameter& lambda = Fitted(61);
  EXPECT_EQ(lambda.name, "lambda(1)");
  EXPECT_TRUE(lambda.determined);
  EXPECT_TRUE(lambda.logScale);
  EXPECT_FALSE(lambda.atBound);
  EXPECT_TRUE(Covers(61, 0.3)) << lambda.lower95 << " .. " << lambda.upper95;
  EXPECT_NEAR(lambda.value, 0.3, 0.03);
  EXPECT_GT(lambda.standardError, 0.0);
  EXPECT_LT(lambda.standardError, 0.03);
  EXPECT_NE(app.Result().Text().find("lambda(1)"), std::string::npos) << app.Result().Text();

  Expr().lambda(1).SetText("1");
  Expr().ks(1).SetText("0.003");
  Fit(61, "0.5", "5");
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  EXPECT_TRUE(Fitted(61).atBound);
  EXPECT_NEAR(model.ChargeLambda(1), 0.5, 1e-6);
}

// A program of its own for each run, so that both fits start without an earlier fit's step.
struct ThreadedFitSession : FitUncertaintyTest {
  void TestBody() override {}
  FitResult Run(int threads, int& trials) {
    DigitalCycle("1");
    MeasureWithNoise(0.01, 2);
    app.SetFitThreads(threads);
    Start("0.05", "0.05");
    Expr().alph(1).SetText("0.4");
    Fit(11, "1e-4", "100");
    Fit(21, "0.1", "0.9");
    Fit(31, "-0.2", "0.2");
    app.mnuAutoFit_Click();
    trials = model.FitObjectiveCount;
    return model.LastFit;
  }
};

// Two and three threads: the six sides of the three central differences are dealt out to them
// in turn.
TEST(ThreadedFit, DerivativeColumnsOnThreadsGiveTheSerialFit) {
  int serialTrials = 0;
  FitResult serial = ThreadedFitSession().Run(1, serialTrials);
  ASSERT_EQ(serial.parameters.size(), 3u);
  for (int threads : {2, 3}) {
    int threadedTrials = 0;
    ExpectSameFit(serial, ThreadedFitSession().Run(threads, threadedTrials), threads);
    EXPECT_EQ(serialTrials, threadedTrials) << threads;
  }
}

TEST_F(FitUncertaintyTest, SecondOrderRateConstantsStartFromTheirBoxes) {
  // MX4 = M + 4X has one second-order reaction and no first-order one: its kf and kb sit in the
  // first homogeneous row, and a fit takes their values and ranges from there.
  UseAnalyticalMechanism(9);
  app.mnuExperimental_Click();
  ASSERT_EQ(model.FirstOrderReactionCount, 0);
  ASSERT_EQ(model.SecondOrderReactionCount, 1);
  Expr().CheckFitted(1).SetChecked(false);
  Expr().kf(1).SetText("5e3");
  Expr().kb(1).SetText("20");
  Fit(41, "1e2", "1e6");
  Fit(51, "1", "1e3");
  Expr().OK();
  FitChoices choices = Expr().ChosenFitParameters();
  ASSERT_EQ(choices.size(), 2u);
  ParameterStart kf = StartOfParameter(model, choices[0]);
  ParameterStart kb = StartOfParameter(model, choices[1]);
  EXPECT_EQ((std::vector<double>{kf.value, kf.minimum, kf.maximum, kb.value, kb.maximum}),
            (std::vector<double>{5e3, 1e2, 1e6, 20, 1e3}));
}

TEST(StudentT, QuantilesOfTheTable) {
  // two-sided 95 % points of Student's t
  EXPECT_NEAR(StudentT975(3), 3.182, 0.002);
  EXPECT_NEAR(StudentT975(10), 2.228, 0.001);
  EXPECT_NEAR(StudentT975(30), 2.042, 0.001);
  EXPECT_NEAR(StudentT975(1000), 1.962, 0.001);
  EXPECT_EQ(StudentT975(0), 0);
}

}  // namespace
}  // namespace qalto
