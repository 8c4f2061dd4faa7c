// A measured chronoamperogram imported under technique 7, fitted and analysed: the file's times
// become the steps' samples and set t sample and t1, the potentials stay the user's, Auto Fit
// finds D from a far start in both models, data off the steps' samples are refused by name, and
// the Cottrell line is drawn through the measured current.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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
  std::string MeasuredFile(double timeShift) {
    std::ostringstream text;
    text << "time/s,Ewe/V,I/A\n";
    for (int i = 1; i <= model.NumberOfPoints; ++i) {
      text.precision(17);
      text << model.PotentialX(i) + timeShift << ",-0.5," << -model.CurrentY(i, 1) << "\n";
    }
    return folder.Write("ca.csv", text.str());
  }

  void Import(const std::string& path) {
    platform.QueueDialogAnswer(path);
    app.ChooseMenu("mnuImport");
  }

  TempFolder folder;
};

// From 3e-5 cm2/s, with t sample and t1 set far off before the import: D = 1e-5 cm2/s again.
TEST_P(ChronoamperogramFit, FindsDFromTheMeasuredCurrent) {
  Steps();
  Measure();
  const std::string path = MeasuredFile(0.0);
  app.Ins().TextT1.SetText("3");
  app.Ins().TextTSample.SetText("0.5");
  app.mnuExperimental_Click();
  for (int code : {1, 2})
    Expr().CheckFitted(code).SetChecked(false);
  Expr().D(1).SetText("3e-5");
  Expr().D(2).SetText("3e-5");
  Import(path);
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

// Instants a third of a sample late are no sample of the steps: the fit says where.
TEST_P(ChronoamperogramFit, RefusesDataOffTheStepsSamples) {
  Steps();
  Measure();
  const std::string path = MeasuredFile(0.0);
  std::string text = TempFolder::Read(path);
  text.replace(text.find("\n0.02"), 5, "\n0.023");
  Import(folder.Write("late.csv", text));
  app.mnuExperimental_Click();
  Fit(71, "1e-7", "1e-3");
  platform.messages.clear();
  app.ChooseMenu("mnuAutoFit");
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_NE(platform.messages.back().find("point 2 of the data lies at .023 s, the steps sample it "
                                          "at .02 s (t1 (s) 1, t2 (s) 0, t sample (s) .01)"),
            std::string::npos)
      << platform.messages.back();
}

// Analyze -> Cottrell draws the same line through the measured copy of a simulated step as
// through the simulation; Anson refuses the measured curve, whose charge before its first point
// is unknown.
TEST_P(ChronoamperogramFit, CottrellLineOfTheMeasuredCurve) {
  Steps();
  Measure();
  const std::string path = MeasuredFile(0.0);
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

}  // namespace
}  // namespace qalto
