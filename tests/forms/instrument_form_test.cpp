#include <gtest/gtest.h>

#include <cmath>

#include "app/app_fixture.h"
#include "common/test_names.h"
#include "model/experiment_table.h"

namespace qalto {
namespace {

using InstrumentFormTest = AppTest;

// A radius of 0.123456 cm (length 0.01 cm): the area each electrode's formula gives, with the
// program's pi of 3.141592654. The microdisc works with the hemisphere of the same
// steady-state current (radius 2r/pi) and the band with its half width.
struct TypedRadius {
  int electrode;
  const char* areaText;  // "0.##e-0"
  double area;           // cm2, full precision
  double modelRadius;    // cm
  double modelArea;      // cm2
};

constexpr double kDiscRadius = 2 * 0.123456 / 3.141592654;  // cm

class TypedRadiusTest : public AppTest, public ::testing::WithParamInterface<TypedRadius> {};

TEST_P(TypedRadiusTest, KeepsItsTextAndTheAreaFollowsInFullPrecision) {
  const TypedRadius& p = GetParam();
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(p.electrode).Click();
  f.radius.SetText("0.123456");
  EXPECT_EQ(f.ARE.Text(), p.areaText);
  f.OK();
  EXPECT_EQ(f.radius.Text(), "0.123456");
  EXPECT_DOUBLE_EQ(f.AreaValue(), p.area);
  EXPECT_NEAR(model.Radius, p.modelRadius, 1e-12 * p.modelRadius);
  EXPECT_NEAR(model.ElectrodeArea, p.modelArea, 1e-12 * p.modelArea);
  EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Electrodes, TypedRadiusTest,
    ::testing::Values(TypedRadius{2, "1.92e-1", 0.19152887924052484, 0.123456, 0.19152887924052484},
                      TypedRadius{3, "9.58e-2", 0.09576443962026242, 0.123456, 0.09576443962026242},
                      TypedRadius{4, "4.79e-2", 0.04788221981013121, kDiscRadius,
                                  2 * 3.141592654 * kDiscRadius* kDiscRadius},
                      TypedRadius{5, "7.76e-3", 0.00775696925384448, 0.123456, 0.00775696925384448},
                      TypedRadius{10, "2.47e-3", 0.00246912, 0.061728,
                                  3.141592654 * 0.061728 * 0.01}),
    [](const auto& info) {
      return WordsAsName(RowOf(ElectrodeNumbered(info.param.electrode)).caption);
    });

TEST_F(InstrumentFormTest, TypedAreaKeepsItsTextAndTheRadiusFollows) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(2).Click();
  f.ARE.SetText("0.123456");
  EXPECT_EQ(f.radius.Text(), "9.91e-2");  // sqrt(A / 4 pi) = 0.0991177 cm
  f.OK();  // the apply step does not write the area back from the shown radius
  EXPECT_EQ(f.ARE.Text(), "0.123456");
  EXPECT_DOUBLE_EQ(model.Radius, 0.09911768926833255);
  f.optElectrode(3).Click();  // the radius follows the typed area by the hemisphere's formula
  EXPECT_EQ(f.radius.Text(), "1.4e-1");  // sqrt(A / 2 pi) = 0.140173 cm
}

// Typed key by key, every text stays as typed; 4 pi (1e200)^2 has no digits to show: that
// change ends with the overflow message, the area keeps what it showed, and a run from the
// radius overflows as its area does.
TEST_F(InstrumentFormTest, ARadiusWhoseAreaOverflowsSaysSoOnceAndKeepsTheArea) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(2).Click();
  for (const char* text : {"1", "1e", "1e2", "1e20", "1e200"}) {
    f.radius.SetText(text);
    EXPECT_EQ(f.radius.Text(), text);
  }
  EXPECT_EQ(f.ARE.Text(), "1.26e41");  // from "1e20", the last radius with a finite area
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"Run-time error: Overflow: Area (cm ²) from Radius (cm) "
                                     "1e200 is beyond the number range; it keeps 1.26e41"});
  f.OK();
  EXPECT_EQ(platform.messages.size(), 1u);  // the apply step tells it no more
  EXPECT_EQ(model.ElectrodeArea, HUGE_VAL);
}

TEST_F(InstrumentFormTest, TimingFieldsFollowStepRateAndFrequency) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.V.SetText("0.02");
  EXPECT_EQ(f.td.Text(), "0.25");
  f.V.SetText("0");  // a zero rate leaves the drop time as it was
  EXPECT_EQ(f.td.Text(), "0.25");
  f.Estep.SetText("0.002");
  f.V.SetText("0.01");
  EXPECT_EQ(f.td.Text(), "0.2");
  f.TextF.SetText("10");
  EXPECT_EQ(f.tp.Text(), "0.05");
  f.TextF.SetText("abc");
  EXPECT_EQ(f.tp.Text(), "0.05");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(InstrumentFormTest, TheBandNamesItsHalfWidth) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode_Click(10);
  EXPECT_EQ(f.LabelRadius.Caption(), "Half Width (cm)");
  f.optElectrode_Click(5);
  EXPECT_EQ(f.LabelRadius.Caption(), "Radius (cm)");
}

// Square wave: the frequency instead of the rate, the pulse time locked. Digital mode offers
// every electrode; the analytical normal pulse the thin film but neither the cylinder nor the
// rotating disk, its DC wave the rotating disk too.
TEST_F(InstrumentFormTest, ActivationFollowsTechniqueAndMode) {
  ChooseTechnique(5);
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  EXPECT_FALSE(f.V.Visible());
  EXPECT_TRUE(f.TextF.Visible());
  EXPECT_TRUE(f.tp.Locked());
  EXPECT_TRUE(f.optElectrode(10).Enabled());
  EXPECT_TRUE(f.optElectrode(9).Enabled());
  f.cmdOK_Click();
  ChooseTechnique(3);
  UseAnalyticalMechanism(1);
  app.mnuInstrument_Click();
  EXPECT_FALSE(f.tp.Locked());
  EXPECT_FALSE(f.optElectrode(6).Enabled());
  EXPECT_FALSE(f.optElectrode(8).Enabled());
  EXPECT_TRUE(f.optElectrode(9).Enabled());
  f.cmdOK_Click();
  ChooseTechnique(2);
  app.mnuInstrument_Click();
  EXPECT_TRUE(f.optElectrode(8).Enabled());
}

// AC voltammetry shows what its sine rides on and the harmonics a fit compares: on the potential
// program v and E end close; the boxes set and clear the bits of AcFitHarmonics, and show the
// bits a session or script put there when the window opens; other techniques hide them all.
TEST_F(InstrumentFormTest, AcVoltammetryChoosesItsBaseAndTheFittedHarmonics) {
  ChooseTechnique(9);
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  EXPECT_TRUE(f.ComboAcBase.Visible());
  EXPECT_TRUE(f.FrameAcFit.Visible());
  EXPECT_EQ(f.CheckHarmonic(0).Caption(), "DC");
  EXPECT_EQ(f.CheckHarmonic(8).Caption(), "harmonic 8");
  ASSERT_TRUE(f.ComboAcBase.SelectText("potential program"));
  EXPECT_FALSE(f.V.Visible());
  EXPECT_FALSE(f.Eend.Enabled());
  EXPECT_TRUE(f.Estart.Enabled());
  f.CheckHarmonic(0).Click();
  f.CheckHarmonic(2).Click();
  EXPECT_EQ(model.AcFitHarmonics, 0b101);
  f.CheckHarmonic(0).Click();
  EXPECT_EQ(model.AcFitHarmonics, 0b100);
  f.cmdOK_Click();
  EXPECT_TRUE(model.AcOnProgram);
  model.AcFitHarmonics = (1 << 7) | (1 << 8);
  app.mnuInstrument_Click();
  EXPECT_FALSE(f.CheckHarmonic(2).Checked());
  EXPECT_TRUE(f.CheckHarmonic(7).Checked() && f.CheckHarmonic(8).Checked());
  f.cmdOK_Click();
  ChooseTechnique(1);
  app.mnuInstrument_Click();
  EXPECT_FALSE(f.ComboAcBase.Visible());
  EXPECT_FALSE(f.FrameAcFit.Visible());
  EXPECT_TRUE(f.V.Visible());
  EXPECT_TRUE(f.Eend.Enabled());
}

// The potential boxes a technique reads are open, the others closed to typing with their text
// kept: a program or a step rests at E start, AC voltammetry sweeps to E end at its own pace,
// impedance has its E dc.
struct PotentialBoxesCase {
  int technique;
  bool start, end, step;
};

class PotentialBoxesTest : public AppTest,
                           public ::testing::WithParamInterface<PotentialBoxesCase> {};

TEST_P(PotentialBoxesTest, FollowTheTechnique) {
  const PotentialBoxesCase c = GetParam();
  ChooseTechnique(c.technique);
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  EXPECT_EQ(f.Estart.Enabled(), c.start);
  EXPECT_EQ(f.LabelEend.Enabled(), c.end);
  EXPECT_EQ(f.Eend.Enabled(), c.end);
  EXPECT_EQ(f.Estep.Enabled(), c.step);
  EXPECT_EQ(f.Eend.Text(), "-0.3");
  RunScript("set FormIns.Estep 0.002\n");
  EXPECT_EQ(err.str().find("cannot be reached") != std::string::npos, !c.step) << err.str();
}

INSTANTIATE_TEST_SUITE_P(Techniques, PotentialBoxesTest,
                         ::testing::Values(PotentialBoxesCase{1, true, true, true},
                                           PotentialBoxesCase{5, true, true, true},
                                           PotentialBoxesCase{7, true, false, false},
                                           PotentialBoxesCase{8, true, false, false},
                                           PotentialBoxesCase{9, true, true, false},
                                           PotentialBoxesCase{10, false, false, false}),
                         [](const auto& info) {
                           return WordsAsName(
                               RowOf(TechniqueNumbered(info.param.technique)).caption);
                         });

}  // namespace
}  // namespace qalto
