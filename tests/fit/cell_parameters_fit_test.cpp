// Fits of the cell beside the chemistry: an uncompensated resistance, a double-layer capacitance
// and a sloping baseline fitted with E0, ks and alpha to noisy "measurements" in both simulation
// modes, a global fit of four scan rates with a baseline per curve, and the flags of a value the
// data do not fix.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/constants.h"
#include "common/test_names.h"
#include "fit/fit_parameters.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

constexpr double kTrueE0 = 0.1;       // V
constexpr double kTrueKs = 0.01;      // cm/s
constexpr double kTrueRu = 50;        // ohm
constexpr double kTrueCd = 20e-6;     // F
constexpr double kTrueOffset = 2e-6;  // A
constexpr double kTrueSlope = 1e-5;   // A/V

class CellFitTest : public FitTest {
 protected:
  // A + e = B swept from 0.4 V to -0.2 V and back in 2 mV steps at `rate` V/s, with the cell's
  // true Ru, Cd and baseline.
  void Cell(bool digital, const std::string& rate) {
    if (!digital) UseAnalyticalMechanism(1);
    Sweep("0.4", "-0.2", "0.002", rate);
    FormIns& ins = app.Ins();
    ins.txtRu.SetText(std::to_string(kTrueRu));
    ins.Cdl.SetText(std::to_string(kTrueCd));
    ins.TextOffset.SetText(std::to_string(kTrueOffset));
    ins.TextSlope.SetText(std::to_string(kTrueSlope));
    ins.cmdOK_Click();
    app.mnuExperimental_Click();
    ASSERT_EQ(model.DigitalSimulation, digital);
    for (int code : {1, 2, 11, 21, 31, 71, 72})
      Expr().CheckFitted(code).SetChecked(false);
    Expr().ks(1).SetText(std::to_string(kTrueKs));
    Expr().Eze(1).SetText(std::to_string(kTrueE0));
    Expr().alph(1).SetText("0.5");
  }

  // Moves the chemistry and the cell away from the truth and marks all of them as fitted.
  void FitEverything() {
    ChooseKsE0AndOffset();
    Expr().alph(1).SetText("0.4");
    Fit(21, "0.1", "0.9");
    FormIns& ins = app.Ins();
    ins.txtRu.SetText("20");
    ins.Cdl.SetText("5e-6");
    ins.TextSlope.SetText("0");
    for (int code : {kFittedRu, kFittedCd0, kFittedSlope})
      ins.CheckFitted(code).SetChecked(true);
  }

  // ks and E0 moved away from the truth and fitted, with a baseline offset from 0.
  void ChooseKsE0AndOffset() {
    Expr().ks(1).SetText("0.02");
    Expr().Eze(1).SetText("0.12");
    Fit(11, "1e-4", "10");
    Fit(31, "-0.2", "0.4");
    app.Ins().TextOffset.SetText("0");
    app.Ins().CheckFitted(kFittedOffset).SetChecked(true);
  }
};

// Twenty noisy measurements fitted one by one in each mode: the mean ks within 5 % of the truth,
// the 95 % intervals of ks and Ru around the truth at least 18 times.
class CellFitModes : public CellFitTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CellFitModes, FitsRecoverKineticsBesideTheCell) {
  double sumKs = 0;
  int coveredKs = 0;
  int coveredRu = 0;
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Cell(GetParam(), "0.1");
    MeasureWithNoise(0.01, seed);
    FitEverything();
    app.mnuAutoFit_Click();
    ASSERT_TRUE(model.LastFit.valid) << "seed " << seed;
    EXPECT_LT(model.LastFit.flag, 0) << "seed " << seed;
    sumKs += Fitted(11).value;
    coveredKs += Covers(11, kTrueKs) ? 1 : 0;
    coveredRu += Covers(kFittedRu, kTrueRu) ? 1 : 0;
    for (const FittedParameter& p : model.LastFit.parameters)
      EXPECT_FALSE(p.atBound || p.Undetermined()) << p.name << " seed " << seed;
  }
  EXPECT_NEAR(sumKs / 20, kTrueKs, 0.05 * kTrueKs);
  EXPECT_GE(coveredKs, 18);
  EXPECT_GE(coveredRu, 18);
}

INSTANTIATE_TEST_SUITE_P(BothModes, CellFitModes, ::testing::Bool(), ModeName);

TEST_F(CellFitTest, AnE0AtTheReferencePotentialIsNoUndeterminedValue) {
  // E0 counted from the reference electrode lies at 0 V: a fitted value within a standard
  // error of a few tenths of a millivolt from zero is still a well-determined E0.
  int smallerThanItsError = 0;
  for (bool digital : {true, false}) {  // the program starts digital
    for (unsigned seed = 1; seed <= 4; ++seed) {
      Cell(digital, "0.1");
      Expr().Eze(1).SetText("0");
      MeasureWithNoise(0.01, seed);
      Expr().ks(1).SetText("0.02");
      Expr().Eze(1).SetText("0.03");
      Fit(11, "1e-4", "10");
      Fit(31, "-0.2", "0.4");
      app.mnuAutoFit_Click();
      ASSERT_TRUE(model.LastFit.valid);
      const FittedParameter& e0 = Fitted(31);
      EXPECT_NEAR(e0.value, 0, 2e-3) << "digital " << digital << " seed " << seed;
      EXPECT_FALSE(e0.Undetermined()) << "digital " << digital << " seed " << seed;
      smallerThanItsError += e0.standardError > std::fabs(e0.value) ? 1 : 0;
    }
  }
  EXPECT_GT(smallerThanItsError, 0) << "no fit showed the case this test is about";
}

// Without faradaic current the sweep charges Cd through Ru: the current approaches Cd v with the
// cell's time constant Ru Cd, in both modes alike.
TEST_P(CellFitModes, ChargingCurrentFlowsThroughTheResistance) {
  Cell(GetParam(), "0.1");
  Expr().C(1).SetText("0");
  Measure();
  const double plateau = kTrueCd * 0.1;  // A, cathodic positive on the way down
  const double tau = kTrueRu * kTrueCd;  // s
  const double dt = 0.002 / 0.1;         // s per point
  // At the third point the circuit has charged for three steps of 20 ms, 20 time constants.
  EXPECT_NEAR(model.CurrentY(3, 1) - kTrueOffset - kTrueSlope * model.PotentialX(3), plateau,
              0.02 * plateau);
  EXPECT_GT(3 * dt, 10 * tau);
}

TEST_F(CellFitTest, GlobalFitOfFourScanRatesNarrowsTheInterval) {
  // Four scan rates of one solution with independent noise, each with its own baseline offset:
  // the shared ks and E0 and the per-curve offsets fitted together.
  const char* rates[] = {"0.02", "0.1", "0.5", "2"};
  int covered = 0;
  double globalWidth = 0;  // of the ks interval, cm/s, last seed
  for (unsigned seed = 1; seed <= 10; ++seed) {
    app.mnuGlobalClear_Click();
    for (unsigned c = 0; c < 4; ++c) {
      Cell(false, rates[c]);
      MeasureWithNoise(0.01, 100 * seed + c);
      app.mnuGlobalAdd_Click();
    }
    ChooseKsE0AndOffset();
    app.mnuGlobalFit_Click();
    ASSERT_TRUE(model.LastFit.valid) << "seed " << seed;
    ASSERT_EQ(model.LastFit.parameters.size(), 6u);  // ks, E0 and four offsets
    EXPECT_EQ(model.LastFit.parameters[5].name, "I offset (curve 4)");
    covered += Covers(11, kTrueKs) ? 1 : 0;
    globalWidth = Fitted(11).upper95 - Fitted(11).lower95;
    app.Ins().CheckFitted(kFittedOffset).SetChecked(false);
  }
  EXPECT_GE(covered, 9);
  // The best single curve of the last seed's set, fitted alone.
  double bestWidth = 1e9;
  for (unsigned c = 0; c < 4; ++c) {
    Cell(false, rates[c]);
    MeasureWithNoise(0.01, 100 * 10 + c);
    ChooseKsE0AndOffset();
    app.mnuAutoFit_Click();
    ASSERT_TRUE(model.LastFit.valid);
    bestWidth = std::min(bestWidth, Fitted(11).upper95 - Fitted(11).lower95);
    app.Ins().CheckFitted(kFittedOffset).SetChecked(false);
  }
  EXPECT_LT(globalWidth, bestWidth);
}

// A program of its own for each thread count, so that every fit starts without an earlier
// fit's step: three scan rates with a baseline offset per curve, ks and E0 shared.
struct GlobalFitSession : CellFitTest {
  void TestBody() override {}
  FitResult Run(int threads) {
    app.SetFitThreads(threads);
    const char* rates[] = {"0.1", "1", "0.3"};
    for (unsigned c = 0; c < 3; ++c) {
      Cell(false, rates[c]);
      MeasureWithNoise(0.01, 40 + c);
      app.mnuGlobalAdd_Click();
    }
    ChooseKsE0AndOffset();
    app.mnuGlobalFit_Click();
    return model.LastFit;
  }
};

// Two and four threads: every curve of every side of the central differences is a task of its
// own, and the curves of a trial are simulated side by side.
TEST(ThreadedFit, GlobalFitOnThreadsGivesTheSerialFit) {
  const FitResult serial = GlobalFitSession().Run(1);
  ASSERT_TRUE(serial.valid);
  ASSERT_EQ(serial.parameters.size(), 5u);
  for (int threads : {2, 4})
    ExpectSameFit(serial, GlobalFitSession().Run(threads), threads);
}

// The profiles of the shared parameters of a global fit of two scan rates, each curve with its
// own baseline offset: E0's is its standard error's interval, ks's covers the truth; the offset
// of one curve has no single value to profile, and curves changed since the fit none at all.
TEST_F(CellFitTest, GlobalFitProfilesItsSharedParameters) {
  for (unsigned c = 0; c < 2; ++c) {
    Cell(false, c == 0 ? "0.1" : "1");
    MeasureWithNoise(0.01, 7 + c);
    app.mnuGlobalAdd_Click();
  }
  ChooseKsE0AndOffset();
  app.mnuGlobalFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  platform.messages.clear();
  Expr().TextProfile.SetText("");
  app.mnuProfileIntervals_Click();
  ASSERT_TRUE(platform.messages.empty()) << platform.messages.back();
  ExpectProfilesOfE0AndKs(kTrueKs);
  EXPECT_FALSE(Fitted(kFittedOffset).profiled);
  app.mnuGlobalClear_Click();
  app.mnuProfileIntervals_Click();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error: The curves of the last global fit "
                                                        "are no longer its curves! Run Global Fit "
                                                        "again."});
}

// The Profile box reads a name with a space in it whole (an unknown name: FitUncertaintyTest).
TEST_F(CellFitTest, ProfileReadsANameWithASpace) {
  Cell(false, "0.1");
  MeasureWithNoise(0.01, 3);
  ChooseKsE0AndOffset();
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  platform.messages.clear();
  Expr().TextProfile.SetText("I offset, E0(1)");
  app.mnuProfileIntervals_Click();
  ASSERT_TRUE(platform.messages.empty()) << platform.messages.back();
  EXPECT_TRUE(Fitted(kFittedOffset).profiled && Fitted(31).profiled);
  EXPECT_FALSE(Fitted(11).profiled);
}

// Held 2 s at -0.3 V, 0.4 V past E0, the reduction runs at its diffusion limit: the first point
// of the sweep, 2.02 s after the hold began, carries nFAC (D / (pi t))^1/2.
TEST_P(CellFitModes, QuietTimeAtTheStartPotentialGivesTheCottrellCurrent) {
  Cell(GetParam(), "0.1");
  FormIns& ins = app.Ins();
  ins.Estart.SetText("-0.3");
  ins.Eend.SetText("0.4");
  for (TextBox* box : {&ins.txtRu, &ins.Cdl, &ins.TextOffset, &ins.TextSlope})
    box->SetText("0");
  ins.TextQuiet.SetText("2");
  ins.cmdOK_Click();
  Expr().CheckPreEqu.SetChecked(false);  // the hold, not an equilibrium, sets the start
  Measure();
  const double t = 2.02;  // s
  const double cottrell = kFaraday * model.ElectrodeArea * model.SpeciesC(1) * 1e-3 *
                          std::sqrt(model.SpeciesD(1) / (kPi * t));
  EXPECT_NEAR(model.CurrentY(1, 1), cottrell, 0.01 * cottrell);
  EXPECT_DOUBLE_EQ(model.PotentialX(1), -0.3);
}

TEST_F(CellFitTest, ValueOnItsBoundIsFlagged) {
  Cell(false, "0.1");
  MeasureWithNoise(0.01, 3);
  Expr().ks(1).SetText("0.02");
  Fit(11, "0.02", "10");  // the truth lies below the minimum
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  EXPECT_TRUE(Fitted(11).atBound);
  EXPECT_NE(app.Result().Text().find("at bound"), std::string::npos) << app.Result().Text();
}

}  // namespace
}  // namespace qalto
