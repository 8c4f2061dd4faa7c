#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace qalto {
namespace {

using InstrumentFormTest = AppTest;

TEST_F(InstrumentFormTest, MicrodiscUsesTheEquivalentHemisphere) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(4).Click();
  f.radius.SetText("0.2821");
  f.cmdOK_Click();
  EXPECT_NEAR(model.Radius, 0.17959, 0.000005);
  EXPECT_NEAR(model.ElectrodeArea, 0.20265, 0.000005);
  EXPECT_EQ(f.ARE.Text(), "2.5e-1");
}

// A radius of 0.123456 cm (length 0.01 cm): the area each electrode's formula gives, with the
// program's pi of 3.141592654.
struct TypedRadius {
  int electrode;
  const char* areaText;  // "0.##e-0"
  double area;           // cm2, full precision
};

class TypedRadiusTest : public AppTest, public ::testing::WithParamInterface<TypedRadius> {};

TEST_P(TypedRadiusTest, KeepsItsTextAndTheAreaFollowsInFullPrecision) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(GetParam().electrode).Click();
  f.radius.SetText("0.123456");
  EXPECT_EQ(f.radius.Text(), "0.123456");
  EXPECT_EQ(f.ARE.Text(), GetParam().areaText);
  f.OK();
  EXPECT_EQ(f.radius.Text(), "0.123456");
  EXPECT_DOUBLE_EQ(f.AreaValue(), GetParam().area);
  if (GetParam().electrode != 10) {
    EXPECT_DOUBLE_EQ(model.Radius, 0.123456);
  }
}

INSTANTIATE_TEST_SUITE_P(Electrodes, TypedRadiusTest,
                         ::testing::Values(TypedRadius{2, "1.92e-1", 0.19152887924052484},
                                           TypedRadius{3, "9.58e-2", 0.09576443962026242},
                                           TypedRadius{8, "4.79e-2", 0.04788221981013121},
                                           TypedRadius{5, "7.76e-3", 0.00775696925384448},
                                           TypedRadius{10, "2.47e-3", 0.00246912}));

TEST_F(InstrumentFormTest, TypedAreaKeepsItsTextAndTheRadiusFollows) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(2).Click();
  f.ARE.SetText("0.123456");
  EXPECT_EQ(f.ARE.Text(), "0.123456");
  EXPECT_EQ(f.radius.Text(), "9.91e-2");  // sqrt(A / 4 pi) = 0.0991177 cm
  f.OK();  // the apply step does not write the area back from the shown radius
  EXPECT_EQ(f.ARE.Text(), "0.123456");
  EXPECT_DOUBLE_EQ(model.ElectrodeArea, 0.123456);
  EXPECT_DOUBLE_EQ(model.Radius, 0.09911768926833255);
  // Another electrode: the radius follows the typed area by the hemisphere's formula.
  f.optElectrode(3).Click();
  EXPECT_EQ(f.ARE.Text(), "0.123456");
  EXPECT_EQ(f.radius.Text(), "1.4e-1");  // sqrt(A / 2 pi) = 0.140173 cm
  f.ARE.SetText("");  // an empty area reads 0, and so does the radius that follows it
  EXPECT_EQ(f.radius.Text(), "0.e0");
}

TEST_F(InstrumentFormTest, ARadiusWhoseAreaOverflowsLeavesTheAreaAsItWas) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(2).Click();
  ASSERT_EQ(f.ARE.Text(), "1.e0");
  // Typed key by key, every text stays as typed; 4 pi (1e200)^2 has no digits to show.
  for (const char* text : {"1", "1e", "1e2", "1e20", "1e200"}) {
    f.radius.SetText(text);
    EXPECT_EQ(f.radius.Text(), text);
  }
  EXPECT_EQ(f.ARE.Text(), "1.26e41");  // from "1e20", the last radius with a finite area
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(InstrumentFormTest, TimingFieldsFollowStepRateAndFrequency) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.V.SetText("0.02");
  EXPECT_EQ(f.td.Text(), "0.25");
  f.V.SetText("0.01");
  EXPECT_EQ(f.td.Text(), "0.5");
  f.V.SetText("0");  // a zero rate leaves the drop time as it was
  EXPECT_EQ(f.td.Text(), "0.5");
  f.Estep.SetText("0.002");
  EXPECT_EQ(f.td.Text(), "0.5");
  f.V.SetText("0.01");
  EXPECT_EQ(f.td.Text(), "0.2");
  f.TextF.SetText("10");
  EXPECT_EQ(f.tp.Text(), "0.05");
  f.TextF.SetText("20");
  EXPECT_EQ(f.tp.Text(), "0.025");
  f.TextF.SetText("abc");
  EXPECT_EQ(f.tp.Text(), "0.025");
}

TEST_F(InstrumentFormTest, ElectrodeChoiceShowsItsGeometryFields) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  struct Row {
    int electrode;
    bool length, radius, rotation;
  };
  const Row rows[] = {{1, false, false, false}, {2, false, true, false}, {3, false, true, false},
                      {4, false, true, false},  {5, true, true, false},  {6, true, true, true},
                      {7, false, true, true},   {8, false, true, true},  {9, true, false, false},
                      {10, true, true, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.electrode);
    f.optElectrode_Click(row.electrode);
    EXPECT_EQ(model.Electrode, row.electrode);
    EXPECT_EQ(f.leng.Visible(), row.length);
    EXPECT_EQ(f.LabelLength.Visible(), row.length);
    EXPECT_EQ(f.radius.Visible(), row.radius);
    EXPECT_EQ(f.TextRrate.Visible(), row.rotation);
    EXPECT_EQ(f.LabelRadius.Caption(), row.electrode == 10 ? "Half Width (cm)" : "Radius (cm)");
    EXPECT_EQ(f.LabelLength.Caption(), row.electrode == 10 ? "Thick (cm)" : "Length (cm)");
  }
}

TEST_F(InstrumentFormTest, ActivationFollowsTechniqueAndMode) {
  app.mnuTech_Click();
  app.Tech().optTech(5).Click();
  app.Tech().CmdOK_Click();
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  EXPECT_FALSE(f.V.Visible());
  EXPECT_TRUE(f.TextF.Visible());
  EXPECT_TRUE(f.tp.Visible());
  EXPECT_TRUE(f.tp.Locked());
  EXPECT_TRUE(f.Epulse.Visible());
  // Digital mode (the start): 5-8 and 10 enabled, the thin film not.
  EXPECT_TRUE(f.optElectrode(6).Enabled());
  EXPECT_TRUE(f.optElectrode(10).Enabled());
  EXPECT_FALSE(f.optElectrode(9).Enabled());
  f.cmdOK_Click();

  app.mnuTech_Click();
  app.Tech().optTech(3).Click();
  app.Tech().CmdOK_Click();
  UseAnalyticalMechanism(1);
  app.mnuInstrument_Click();
  EXPECT_TRUE(f.V.Visible());
  EXPECT_FALSE(f.TextF.Visible());
  EXPECT_FALSE(f.tp.Locked());
  EXPECT_FALSE(f.optElectrode(6).Enabled());
  EXPECT_TRUE(f.optElectrode(8).Enabled());  // rotating disk: DC and normal pulse only
  EXPECT_TRUE(f.optElectrode(9).Enabled());
  EXPECT_FALSE(f.optElectrode(10).Enabled());

  app.mnuTech_Click();
  app.Tech().optTech(1).Click();
  app.Tech().CmdOK_Click();
  app.ActivateForm(app.Tech());
  app.ActivateForm(f);
  EXPECT_FALSE(f.tp.Visible());
  EXPECT_FALSE(f.Epulse.Visible());
  EXPECT_FALSE(f.optElectrode(8).Enabled());
}

TEST_F(InstrumentFormTest, BandElectrodeConvertsHalfWidthAndThickness) {
  app.mnuInstrument_Click();
  FormIns& f = app.Ins();
  f.optElectrode(10).Click();
  f.radius.SetText("0.1");
  f.leng.SetText("0.5");
  f.cmdOK_Click();
  EXPECT_DOUBLE_EQ(model.Radius, 0.05);
  EXPECT_NEAR(model.ElectrodeArea, 3.141592654 * 0.05 * 0.5, 1e-15);
  EXPECT_DOUBLE_EQ(model.ElectrodeLength, 0.5);
}

}  // namespace
}  // namespace qalto
