#include "forms/mechanism_form.h"

#include <gtest/gtest.h>

#include <array>

#include "ui/recording_platform.h"

namespace qalto {
namespace {

class MechanismFormTest : public ::testing::Test {
 protected:
  Model model;
  RecordingPlatform platform;
  FormMech form{model, platform};

  void Analytical(int mechanism) {
    form.CheckDigital.Click();
    form.mech(mechanism).Click();
    form.OK();
  }
};

TEST_F(MechanismFormTest, DefaultWindowIsTheIronCoupleInDigitalMode) {
  int techniqueRuns = 0;
  form.applyTechniques = [&] { ++techniqueRuns; };
  EXPECT_TRUE(form.CheckDigital.Checked());
  EXPECT_TRUE(form.Frame2.Visible());
  EXPECT_FALSE(form.Frame1.Visible());
  form.OK();
  EXPECT_EQ(techniqueRuns, 1);
  EXPECT_EQ(model.SpeciesCount, 2);
  EXPECT_EQ(model.SpeciesName(1), "Fe+3");
  EXPECT_EQ(model.SpeciesName(2), "Fe+2");
  EXPECT_EQ(model.ChargeReactionCount, 1);
  EXPECT_EQ(model.ChargeReactionSpecies(1, 1), 1);
  EXPECT_EQ(model.ChargeReactionSpecies(1, 2), 2);
  EXPECT_EQ(model.ChargeN(1), 1);
  EXPECT_EQ(model.ChargeReactionText(1), "Fe+3 +e=Fe+2");
  EXPECT_EQ(model.FirstOrderReactionCount + model.SecondOrderReactionCount, 0);
  EXPECT_EQ(model.Mechanism, 1);
}

struct Expected {
  int species;
  int charge;
  std::array<int, 6> chargeSpecies;  // ox, red of reactions 1..3
  int firstOrder;
  int secondOrder;
};

TEST_F(MechanismFormTest, TablesOfTheTenFixedMechanisms) {
  const std::array<Expected, 10> expected{{
      {2, 1, {1, 2, 0, 0, 0, 0}, 0, 0},
      {3, 2, {1, 2, 2, 3, 0, 0}, 0, 0},
      {4, 3, {1, 2, 2, 3, 3, 4}, 0, 0},
      {4, 2, {1, 2, 3, 4, 0, 0}, 0, 0},
      {6, 3, {1, 2, 3, 4, 5, 6}, 0, 0},
      {3, 1, {1, 2, 0, 0, 0, 0}, 1, 0},
      {3, 1, {1, 2, 0, 0, 0, 0}, 1, 0},
      {3, 1, {1, 2, 0, 0, 0, 0}, 1, 0},
      {4, 1, {1, 2, 0, 0, 0, 0}, 0, 1},
      {4, 1, {1, 2, 0, 0, 0, 0}, 0, 1},
  }};
  form.CheckDigital.Click();
  EXPECT_FALSE(model.DigitalSimulation);
  EXPECT_TRUE(form.Frame1.Visible());
  for (int m = 1; m <= 10; ++m) {
    SCOPED_TRACE(m);
    form.mech(m).Click();
    form.OK();
    const Expected& e = expected[static_cast<size_t>(m - 1)];
    EXPECT_EQ(model.Mechanism, m);
    EXPECT_EQ(model.SpeciesCount, e.species);
    EXPECT_EQ(model.ChargeReactionCount, e.charge);
    for (int r = 1; r <= 3; ++r) {
      EXPECT_EQ(model.ChargeReactionSpecies(r, 1), e.chargeSpecies[static_cast<size_t>(2 * r - 2)]);
      EXPECT_EQ(model.ChargeReactionSpecies(r, 2), e.chargeSpecies[static_cast<size_t>(2 * r - 1)]);
    }
    EXPECT_EQ(model.FirstOrderReactionCount, e.firstOrder);
    EXPECT_EQ(model.SecondOrderReactionCount, e.secondOrder);
  }
  form.mech(6).Click();
  form.OK();
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 1), 3);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 2), 1);
  form.mech(8).Click();
  form.OK();
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 1), 2);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 2), 1);
  form.mech(9).Click();
  form.OK();
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 1), 3);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 2), 0);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 3), 1);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 4), 4);
  // A later mechanism without homogeneous reactions clears the tables of the earlier one.
  form.mech(1).Click();
  form.OK();
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 1), 0);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 1), 0);
}

TEST_F(MechanismFormTest, RepeatedNamesAreOneSpeciesNumberedAtFirstAppearance) {
  form.charge(12).SetText("A");
  form.charge(16).SetText("B");
  form.charge(22).SetText("B");
  form.charge(26).SetText("C");
  form.chem(1).SetText("B");
  form.chem(2).SetText("D");
  form.chem2(1).SetText("C");
  form.chem2(2).SetText("A");
  form.chem2(3).SetText("E");
  form.OK();
  ASSERT_EQ(model.SpeciesCount, 5);
  const char* names[] = {"A", "B", "C", "D", "E"};
  for (int k = 1; k <= 5; ++k)
    EXPECT_EQ(model.SpeciesName(k), names[k - 1]);
  EXPECT_EQ(model.ChargeReactionCount, 2);
  EXPECT_EQ(model.ChargeReactionSpecies(2, 1), 2);
  EXPECT_EQ(model.ChargeReactionSpecies(2, 2), 3);
  EXPECT_EQ(model.FirstOrderReactionCount, 1);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 1), 2);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 2), 4);
  EXPECT_EQ(model.SecondOrderReactionCount, 1);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 1), 3);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 2), 1);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 3), 5);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 4), 0);
  EXPECT_EQ(model.ChemReactionText(1), "B=D");
  EXPECT_EQ(model.ChemReactionText(2), "C +A=E +");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MechanismFormTest, CoefficientsAboveOneAreWrittenIntoTheEquation) {
  form.charge(11).SetText("2");
  form.charge(14).SetText("0.5");
  form.charge(15).SetText("10");
  form.OK();
  EXPECT_EQ(model.ChargeReactionText(1), "2Fe+3 +e=10Fe+2");
  EXPECT_EQ(model.ChargeN(1), 0.5);
  EXPECT_EQ(model.ChargeReactionStoich(1, 1), 2);
  EXPECT_EQ(model.ChargeReactionStoich(1, 2), 10);
}

TEST_F(MechanismFormTest, ProtonNumbersFollowThePhEffectAndTheIonChosen) {
  form.charge(13).SetText("2");
  form.charge(17).SetText("3");
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 0);
  form.CheckpH.Click();
  EXPECT_TRUE(form.charge(13).Visible());
  EXPECT_TRUE(form.LabelH(15).Visible());
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 2);
  EXPECT_EQ(model.ChargeReactionText(1), "Fe+3 +2H+ +e=Fe+2 +3 H2O");
  form.OptionOH.Click();
  EXPECT_EQ(form.LabelH(12).Caption(), "H2O + ");
  EXPECT_EQ(form.LabelH(35).Caption(), "OH-");
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 3);
  EXPECT_EQ(model.ChargeReactionText(1), "Fe+3 +2H2O + e=Fe+2 +3OH-");
  form.CheckpH.Click();
  EXPECT_FALSE(form.charge(13).Visible());
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 0);
}

TEST_F(MechanismFormTest, TooManySpeciesOrReactionsAreReportedAndLeftOut) {
  const char* names[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
  form.charge(16).SetText("b");
  for (int i = 1; i <= 8; ++i)
    form.chem(i).SetText(names[i + 1]);
  form.chem2(1).SetText("x");
  form.chem2(3).SetText("y");
  form.OK();
  EXPECT_EQ(model.SpeciesCount, 8);
  EXPECT_EQ(model.FirstOrderReactionCount, 4);
  EXPECT_EQ(model.SecondOrderReactionCount, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0], "Error: Species number cannot > 8");
  EXPECT_EQ(platform.messages[1], "Error: chemical reaction number cannot > 4.");
  // The species beyond the eighth have no number.
  EXPECT_EQ(model.FirstOrderReactionSpecies(4, 1), 0);
}

}  // namespace
}  // namespace qalto
