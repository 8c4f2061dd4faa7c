// Impossible values and boxes without a number are refused before the run, with one message
// naming the box, what it holds and what it may hold; the curves stay as they were.

#include "app/input_limits.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "common/test_names.h"

namespace qalto {
namespace {

struct Refusal {
  const char* form;
  const char* box;
  int index;  // kNoIndex for a single box
  const char* text;
  int electrode;  // the Instrument window's option, 1 planar
  int technique;  // the Techniques window's option, 1 sweep
  const char* message;
  bool preconcentration = false;  // the Instrument window's Preconcentration checked
};

class RefusalTest : public AppTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, SimulateAndFitsRefuseWithOneMessage) {
  const Refusal& r = GetParam();
  UseAnalyticalMechanism(1);
  app.ChooseMenu("mnuSimulate");
  const double before = model.CurrentY(20, 1);
  ChooseTechnique(r.technique);
  app.mnuInstrument_Click();
  app.Ins().optElectrode(r.electrode).Click();
  if (r.preconcentration) app.Ins().CheckPreCon.Click();
  Form* form = app.FindForm(r.form);
  auto* box = static_cast<TextBox*>(form->Find(r.box, r.index));
  ASSERT_NE(box, nullptr);
  box->SetText(r.text);
  for (const char* command : {"mnuSimulate", "mnuAutoFit", "mnuManualFit"}) {
    SCOPED_TRACE(command);
    platform.messages.clear();
    app.ChooseMenu(command);
    EXPECT_EQ(platform.messages, std::vector<std::string>{r.message});
    EXPECT_EQ(model.CurrentY(20, 1), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ImpossibleValues, RefusalTest,
    // The refusals of a sphere's radius, C, alpha, ks, the noise, the temperature and the pulse
    // are pinned, message for message, by the scenario refusals.qs, that of lambda by
    // marcus_hush.qs, that of f by ac_voltammetry.qs; below, one box per range and caption kind.
    ::testing::Values(
        Refusal{"FormIns", "ARE", kNoIndex, "0", 1, 1,
                "Input Error: Area (cm ²) is 0; allowed: greater than 0."},
        Refusal{"FormExpr", "D", 2, "0", 1, 1,
                "Input Error: D (cm ²/s) of species 2 is 0; allowed: greater than 0."},
        Refusal{"FormIns", "Estart", kNoIndex, "0.3.1", 1, 1,
                "Input Error: E start (V) is 0.3.1, not a number; allowed: a number."},
        Refusal{"FormExpr", "TextFitFirst", kNoIndex, "abc", 1, 1,
                "Input Error: fit window points from is abc, not a number; allowed: a number."},
        // Boxes whose impossible values used to be passed over or kept from before: a negative
        // square-wave step swept away from E end, a negative preconcentration time gave a
        // negative concentration.
        Refusal{"FormIns", "Estep", kNoIndex, "-0.001", 1, 6,
                "Input Error: E step (V) is -0.001; allowed: greater than 0."},
        // A step too long for one step of the sweep left a single point and "No data!".
        Refusal{"FormIns", "Estep", kNoIndex, "1.2", 1, 1,
                "Input Error: E step (V) is 1.2; allowed: greater than 0 and less than twice the "
                "distance from E start (V) 0.3 to E end  (V) -0.3."},
        Refusal{"FormIns", "Eend", kNoIndex, "0.3", 1, 4,
                "Input Error: E step (V) is 0.005; allowed: greater than 0 and less than twice "
                "the distance from E start (V) 0.3 to E end  (V) 0.3."},
        Refusal{"FormIns", "TextT2", kNoIndex, "-1", 1, 7,
                "Input Error: t2 (s) is -1; allowed: 0 or more."},
        Refusal{"FormIns", "TextT2", kNoIndex, "0.004", 1, 7,
                "Input Error: t2 (s) is 0.004; allowed: 0 (a single step) or at least half of t "
                "sample (s) 0.01."},
        Refusal{"FormIns", "TextT1", kNoIndex, "0.001", 1, 7,
                "Input Error: t1 (s) is 0.001; allowed: at least half of t sample (s) 0.01."},
        Refusal{"FormIns", "txtTPre", kNoIndex, "-10", 1, 1,
                "Input Error: t pre (s) is -10; allowed: 0 or more.", true},
        Refusal{"FormExpr", "TextVis", kNoIndex, "0", 8, 1,
                "Input Error: Vis (cm ²/s) is 0; allowed: greater than 0."}),
    [](const auto& info) {
      return WordsAsName(std::string(info.param.box) + " " + info.param.text);
    });

TEST_F(AppTest, PossibleValuesAndHiddenBoxesPass) {
  UseAnalyticalMechanism(1);
  app.mnuInstrument_Click();
  app.Ins().radius.SetText("-1");   // the planar electrode has no radius
  app.Expr().alph(3).SetText("7");  // one charge transfer: row 3 is not shown
  app.Expr().OK();
  EXPECT_EQ(FindInputRefusal(app.Ins(), app.Expr(), model.Technique), std::nullopt);
  app.Ins().Estep.SetText("1.19");  // 0.6 V / 1.19 V rounds to one step: two points
  app.Ins().Noise.SetText(" 0 ");
  app.Expr().alph(1).SetText("0.999");
  EXPECT_EQ(FindInputRefusal(app.Ins(), app.Expr(), model.Technique), std::nullopt);
}

}  // namespace
}  // namespace qalto
