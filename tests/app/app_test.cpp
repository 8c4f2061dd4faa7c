#include "app/app.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace qalto {
namespace {

TEST_F(AppTest, StartUp) {
  EXPECT_TRUE(model.DigitalSimulation);
  EXPECT_EQ(model.Electrode, 1);
  EXPECT_EQ(app.Ins().ComboScan.Text(), "single");
  EXPECT_FALSE(app.MenuEnabled("mnuDisplay"));
  EXPECT_FALSE(app.MenuEnabled("mnuAnalyze"));
  EXPECT_TRUE(app.MenuEnabled("mnuSimulate_Click"));
  EXPECT_TRUE(app.MenuEnabled("mnuManualFit_Click"));
  EXPECT_FALSE(app.MenuEnabled("mnuTheoPeak_Click"));  // digital mode at the start
  EXPECT_EQ(app.ChooseMenu("mnuTime"), MenuOutcome::kDisabled);
  EXPECT_EQ(app.ChooseMenu("mnuNoSuchThing"), MenuOutcome::kUnknown);
}

TEST_F(AppTest, SimulateEnablesTheCurveMenusForGood) {
  EXPECT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  EXPECT_TRUE(app.MenuEnabled("mnuDisplay"));
  EXPECT_TRUE(app.MenuEnabled("mnuAnalyze"));
  EXPECT_TRUE(app.MenuEnabled("mnuManualSeparate_Click"));
  EXPECT_EQ(app.ChooseMenu("mnuTime"), MenuOutcome::kDone);
  EXPECT_EQ(platform.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(app.Result().Text(), "time =  0 s\nmax iteration in simulation =  0 \n");
  EXPECT_TRUE(app.Result().Shown());
}

TEST_F(AppTest, TheoreticalPeakOnlyForTheAnalyticalModels) {
  UseAnalyticalMechanism(1);
  app.ActivateMainWindow();
  EXPECT_TRUE(app.MenuEnabled("mnuTheoPeak_Click"));
  app.mnuMechamism_Click();
  app.Mech().CheckDigital.Click();
  EXPECT_FALSE(app.MenuEnabled("mnuTheoPeak_Click"));  // at once, not at the next activation
  app.Mech().CheckDigital.Click();
  EXPECT_TRUE(app.MenuEnabled("mnuTheoPeak_Click"));
}

TEST_F(AppTest, NextCurveWrapsAround) {
  app.mnuNextCurve_Click();
  EXPECT_EQ(model.CurrentCurve, 1);  // no curve at all: always 1
  model.CurveCount = 3;
  model.CurrentCurve = 2;
  app.mnuNextCurve_Click();
  EXPECT_EQ(model.CurrentCurve, 3);
  app.mnuNextCurve_Click();
  EXPECT_EQ(model.CurrentCurve, 1);
  EXPECT_EQ(app.Result().Text(), "Curve Number is  1 \nCurve Number is  3 \nCurve Number is  1 \n");
  app.mnuClear_Click();
  EXPECT_EQ(app.Result().Text(), "");
}

TEST_F(AppTest, ScalingSignAndReverseActOnTheCurrentCurve) {
  model.NumberOfPoints = 4;
  model.CurveCount = 2;
  model.CurrentCurve = 2;
  for (int i = 1; i <= 4; ++i) {
    model.PotentialX(i) = 0.1 * i;
    model.CurrentY(i, 1) = i;
    model.CurrentY(i, 2) = 1e-6 * i * i;
  }
  app.ScaleCurrentCurve(-1);
  app.ScaleCurrentCurve(-1);
  for (int i = 1; i <= 4; ++i)
    EXPECT_EQ(model.CurrentY(i, 2), 1e-6 * i * i);
  app.mnuMinusX_Click();
  EXPECT_EQ(model.PotentialX(1), 0.4);
  EXPECT_EQ(model.CurrentY(1, 2), 16e-6);
  EXPECT_EQ(model.CurrentY(1, 1), 1);  // other curves keep their order
  app.mnuMinusX_Click();
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(model.PotentialX(i), 0.1 * i);
    EXPECT_EQ(model.CurrentY(i, 2), 1e-6 * i * i);
  }
  app.ScalePotentials(10);
  app.ScalePotentials(0.1);
  for (int i = 1; i <= 4; ++i)
    EXPECT_NEAR(model.PotentialX(i), 0.1 * i, 1e-15);
  app.ScaleCurrentCurve(1000);
  EXPECT_DOUBLE_EQ(model.CurrentY(2, 2), 4e-3);
  EXPECT_EQ(model.CurrentY(2, 1), 2);
  model.NumberOfPoints = 0;
  app.ScaleCurrentCurve(1000);
  app.mnuMinusX_Click();
  EXPECT_DOUBLE_EQ(model.CurrentY(2, 2), 4e-3);
}

TEST_F(AppTest, TechniquesWindowIsDiscardedOnClose) {
  app.mnuTech_Click();
  app.Tech().optTech(4).Click();
  app.Tech().CmdOK_Click();
  EXPECT_EQ(model.Technique, 4);
  app.mnuTech_Click();
  EXPECT_TRUE(app.Tech().optTech(4).Selected());
  app.Tech().optTech(2).Click();
  Form* discarded = nullptr;
  app.formDiscarded = [&](Form& form) { discarded = &form; };
  app.CloseForm(app.Tech());
  EXPECT_NE(discarded, nullptr);
  EXPECT_EQ(model.Technique, 4);  // unchanged until the next Mechanism OK
  app.Mech().OK();
  EXPECT_EQ(model.Technique, 1);  // the recreated window's default
  EXPECT_TRUE(app.Tech().optTech(1).Selected());
}

TEST_F(AppTest, HelpCommands) {
  app.mnuHomepage_Click();
  app.mnuManual_Click();
  ASSERT_EQ(platform.browserAddresses.size(), 2u);
  EXPECT_EQ(platform.browserAddresses[0], kHomePage);
  EXPECT_EQ(platform.browserAddresses[1], "./qalto.html");
  app.mnuAbout_Click();
  frmAbout& about = app.About();
  EXPECT_TRUE(about.Shown());
  EXPECT_EQ(about.Caption(), "About Qalto");
  EXPECT_EQ(about.lblVersion.Caption().rfind("Version ", 0), 0u);
  EXPECT_NE(about.lblDescription.Caption().find("Please read document Qalto.Doc.htm for help. \n"),
            std::string::npos);
  about.cmdOK.Click();
  EXPECT_FALSE(about.Shown());
  app.mnuExit_Click();
  EXPECT_TRUE(app.ExitRequested());
}

TEST_F(AppTest, ClipboardAndPrinterTakeThePlotAsDrawn) {
  RecordingSurface& surface = app.Plot().surface;
  surface.Show();
  EXPECT_TRUE(app.Plot().Shown());  // drawing shows the plot window
  surface.SetScale(-1, 1, 1, -1);
  surface.DrawLine(-1, 0, 1, 0);
  surface.SetPosition(0, 0.5);
  surface.Print("E (V)");
  EXPECT_EQ(app.ChooseMenu("mnuCopyto"), MenuOutcome::kDone);
  EXPECT_EQ(app.ChooseMenu("mnuPrint"), MenuOutcome::kDone);
  ASSERT_EQ(platform.copiedPictures.size(), 1u);
  ASSERT_EQ(platform.printedPictures.size(), 1u);
  for (const auto& picture : {platform.copiedPictures[0], platform.printedPictures[0]}) {
    ASSERT_EQ(picture.size(), 2u);
    EXPECT_EQ(picture[0].kind, ItemKind::kLine);
    EXPECT_EQ(picture[1].text, "E (V)");
  }
}

TEST_F(AppTest, ActivationRunsEachTimeAWindowBecomesActive) {
  UseAnalyticalMechanism(1);
  app.mnuInstrument_Click();
  EXPECT_TRUE(app.Ins().V.Visible());
  app.mnuTech_Click();
  // The Mechanism OK that the Instrument activation runs reads the Techniques window's
  // selection as it stands, confirmed or not.
  app.Tech().optTech(5).Click();
  app.ActivateForm(app.Ins());
  EXPECT_FALSE(app.Ins().V.Visible());
  EXPECT_EQ(model.Technique, 5);
  app.ActivateForm(app.Ins());  // already active: nothing runs
  app.Tech().optTech(1).Click();
  EXPECT_FALSE(app.Ins().V.Visible());
  app.ActivateForm(app.Tech());
  app.ActivateForm(app.Ins());
  EXPECT_TRUE(app.Ins().V.Visible());
}

TEST_F(AppTest, NumericBoxesTakeAnyTextWithoutCrashing) {
  app.mnuInstrument_Click();
  app.mnuExperimental_Click();
  UseAnalyticalMechanism(1);
  const char* texts[] = {"abc", "", "1e", "--1", "1e999", "-", "0"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    for (Form* form : {static_cast<Form*>(&app.Ins()), static_cast<Form*>(&app.Expr())}) {
      for (Control* control : form->Controls()) {
        if (control->Kind() != ControlKind::kTextBox) continue;
        app.Guard([&] { static_cast<TextBox*>(control)->SetText(text); });
      }
    }
    app.Guard([&] { app.mnuSimulate_Click(); });
    app.Guard([&] { app.mnuExperimental_Click(); });
  }
  // Every failure ended in a message, never in an exception out of the application.
  EXPECT_FALSE(platform.messages.empty());
}

}  // namespace
}  // namespace qalto
