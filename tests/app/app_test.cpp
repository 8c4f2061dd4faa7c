#include "app/app.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace qalto {
namespace {

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

TEST_F(AppTest, ClosingTheTechniquesWindowKeepsTheTechnique) {
  ChooseTechnique(4);
  EXPECT_EQ(model.Technique, Technique::kDifferentialPulse);
  app.mnuTech_Click();
  app.CloseForm(app.Tech());
  app.Mech().OK();  // applies the techniques form, as Simulate does
  EXPECT_EQ(model.Technique, Technique::kDifferentialPulse);
  app.mnuTech_Click();
  EXPECT_TRUE(app.Tech().optTech(4).Selected());
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
