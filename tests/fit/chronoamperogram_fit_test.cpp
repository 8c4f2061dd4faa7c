// A measured chronoamperogram imported under technique 7, fitted and analysed: the file's times
// become the steps' samples and set t sample and t1, the potentials stay the user's, Auto Fit
// finds D from a far start in both models, also from instants off the steps' samples (single
// and double steps), and the Cottrell line is drawn through the measured current.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "common/test_names.h"
#include "files/temp_folder.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

class ChronoamperogramFit : public FitTest, public ::testing::WithParamInterface<bool> {
 protected:
  // A + e = B stepped from rest at 0.3 V to -0.5 V for 1 s, sampled every 10 ms.
  void Steps() {
    if (GetParam() != model.DigitalSimulation) {
      app.mnuMechamism_Click();
      app.Mech().CheckDigital.Click();
      app.Mech().Command1_Click();
    }
    ChooseTechnique(7);
    app.mnuInstrument_Click();
    app.Ins().TextE1.SetText("-0.5");
    app.Ins().TextT1.SetText("1");
    app.Ins().TextTSample.SetText("0.01");
    app.Ins().cmdOK_Click();
  }

  // The simulated curve written as an instrument writes it: time, potential, anodic current.
  std::string MeasuredFile() {
    std::ostringstream text;
    text << "time/s,Ewe/V,I/A\n";
    for (int i = 1; i <= model.NumberOfPoints; ++i) {
      text.precision(17);
      text << model.PotentialX(i) << ",-0.5," << -model.CurrentY(i, 1) << "\n";
    }
    return folder.Write("ca.csv", text.str());
  }

  // The file imported with D of both species started far off, at 3e-5 cm2/s, and C not fitted.
  void ImportStartingFromFarOff(const std::string& path) {
    app.mnuExperimental_Click();
    for (int code : {1, 2})
      Expr().CheckFitted(code).SetChecked(false);
    Expr().D(1).SetText("3e-5");
    Expr().D(2).SetText("3e-5");
    Import(path);
  }

  TempFolder folder;
};

// From 3e-5 cm2/s, with t sample and t1 set far off before the import: D = 1e-5 cm2/s again.
TEST_P(ChronoamperogramFit, FindsDFromTheMeasuredCurrent) {
  Steps();
  Measure();
  const std::string path = MeasuredFile();
  app.Ins().TextT1.SetText("3");
  app.Ins().TextTSample.SetText("0.5");
  ImportStartingFromFarOff(path);
  ASSERT_EQ(model.NumberOfPoints, 100);
  EXPECT_EQ(app.Ins().TextT1.Text(), "1");
  EXPECT_EQ(app.Ins().TextTSample.Text(), "0.01");
  EXPECT_EQ(app.Ins().Estart.Text(), "0.3");
  Fit(71, "1e-7", "1e-3");
  app.ChooseMenu("mnuAutoFit");
  ASSERT_EQ(model.LastFit.parameters.size(), 1u)
      << (platform.messages.empty() ? "" : platform.messages.back());
  EXPECT_NEAR(model.SpeciesD(1) / 1e-5, 1.0, 1e-6);
}

// The samples an instrument keeps that records on a change of current of 4 % or every 50
// samples, from the third after each step: dense there, then fewer and fewer (k since the step,
// k' >= 1.04 k).
std::string UnevenFile(TempFolder& folder, const Model& model, double stepPoints) {
  std::ostringstream text;
  text.precision(17);
  text << "time/s,Ewe/V,I/A\n";
  for (int from = 0; from + stepPoints <= model.NumberOfPoints; from += stepPoints) {
    for (double k = 3;;
         k = std::min(stepPoints, std::max(k + 1, std::ceil(std::min(1.04 * k, k + 50))))) {
      const int i = from + static_cast<int>(k);
      text << model.PotentialX(i) << ",-0.5," << -model.CurrentY(i, 1) << "\n";
      if (k == stepPoints) break;
    }
  }
  return folder.Write("uneven.csv", text.str());
}

// A step (and a double step back to the start) simulated every 0.5 ms, of which the file keeps
// 128 instants a second, dense after each step and off the fine grid (its step 1.5 ms): Auto Fit
// finds D again from 3e-5 cm2/s on the fine grid of the steps.
class UnevenChronoamperogramFit : public ChronoamperogramFit {
 protected:
  void FindsD(bool doubleStep) {
    Steps();
    app.mnuInstrument_Click();
    app.Ins().TextTSample.SetText("0.0005");
    if (doubleStep) {
      app.Ins().TextE2.SetText("0.3");
      app.Ins().TextT2.SetText("1");
    }
    app.Ins().cmdOK_Click();
    Measure();
    ImportStartingFromFarOff(UnevenFile(folder, model, 2000));
    ASSERT_EQ(model.NumberOfPoints, doubleStep ? 256 : 128);
    EXPECT_EQ(app.Ins().TextT1.Text(), "1");
    EXPECT_EQ(app.Ins().TextT2.Text(), doubleStep ? "1" : "0");
    Fit(71, "1e-7", "1e-3");
    app.ChooseMenu("mnuAutoFit");
    ASSERT_EQ(model.LastFit.parameters.size(), 1u)
        << (platform.messages.empty() ? "" : platform.messages.back());
    // Measured: 8.5e-7 analytical; 3.7e-4 digital, whose grid differs from the data's.
    EXPECT_NEAR(model.SpeciesD(1) / 1e-5, 1.0, GetParam() ? 1e-3 : 1e-5);
  }
};

TEST_P(UnevenChronoamperogramFit, SingleStep) {
  FindsD(false);
}

TEST_P(UnevenChronoamperogramFit, DoubleStep) {
  FindsD(true);
}

// Analyze -> Cottrell draws the same line through the measured copy of a simulated step as
// through the simulation; Anson refuses the measured curve, whose charge before its first point
// is unknown.
TEST_P(ChronoamperogramFit, CottrellLineOfTheMeasuredCurve) {
  Steps();
  Measure();
  const std::string path = MeasuredFile();
  app.Result().Clear();
  app.ChooseMenu("mnuCottrell");
  const std::string simulated = app.Result().Text();
  ASSERT_NE(simulated.find("Cottrell: I against t^-1/2 of step 1 (100 points):"), std::string::npos)
      << simulated;
  Import(path);
  app.Result().Clear();
  platform.messages.clear();
  app.ChooseMenu("mnuCottrell");
  EXPECT_EQ(app.Result().Text(), simulated);
  app.ChooseMenu("mnuAnson");
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_EQ(
      platform.messages.back().rfind("Anson Error: the measured curve holds its current only", 0),
      0u)
      << platform.messages.back();
}

INSTANTIATE_TEST_SUITE_P(BothModes, ChronoamperogramFit, ::testing::Bool(), ModeName);
INSTANTIATE_TEST_SUITE_P(BothModes, UnevenChronoamperogramFit, ::testing::Bool(), ModeName);

}  // namespace
}  // namespace qalto
