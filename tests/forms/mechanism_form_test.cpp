#include "forms/mechanism_form.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

class MechanismFormTest : public ::testing::Test {
 protected:
  MechanismFormTest() {
    form.showMessage = [this](const std::string& text) { messages.push_back(text); };
  }
  Model model;
  FormMech form{model};
  std::vector<std::string> messages;
};

// A fixed mechanism takes the place of the one before it: the homogeneous reactions of the
// earlier one (EC, then MX4 = M + 4X) and their species are cleared.
TEST_F(MechanismFormTest, ALaterMechanismClearsTheTablesOfTheEarlierOne) {
  form.CheckDigital.Click();
  EXPECT_FALSE(model.DigitalSimulation);
  form.mech(7).Click();
  form.OK();
  ASSERT_EQ(model.FirstOrderReactionCount, 1);
  form.mech(9).Click();
  form.OK();
  EXPECT_EQ(model.FirstOrderReactionCount, 0);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 1), 0);
  ASSERT_EQ(model.SecondOrderReactionCount, 1);
  form.mech(1).Click();
  form.OK();
  EXPECT_EQ(model.SecondOrderReactionCount, 0);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 1), 0);
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
  EXPECT_EQ(model.SpeciesName(4), "D");
  EXPECT_EQ(model.ChargeReactionSpecies(2, 1), 2);
  EXPECT_EQ(model.ChargeReactionSpecies(2, 2), 3);
  EXPECT_EQ(model.FirstOrderReactionSpecies(1, 2), 4);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 2), 1);
  EXPECT_EQ(model.SecondOrderReactionSpecies(1, 3), 5);
  EXPECT_EQ(model.ChemReactionText(1), "B=D");
  EXPECT_EQ(model.ChemReactionText(2), "C +A=E +");
  EXPECT_TRUE(messages.empty());
}

TEST_F(MechanismFormTest, CoefficientsAndProtonsAreWrittenIntoTheEquation) {
  form.charge(11).SetText("2");
  form.charge(14).SetText("0.5");
  form.charge(15).SetText("10");
  form.OK();
  EXPECT_EQ(model.ChargeReactionText(1), "2Fe+3 +e=10Fe+2");
  EXPECT_EQ(model.ChargeN(1), 0.5);
  EXPECT_EQ(model.ChargeReactionStoich(1, 2), 10);
  form.charge(11).SetText("1");
  form.charge(14).SetText("1");
  form.charge(15).SetText("1");
  form.charge(13).SetText("2");
  form.charge(17).SetText("3");
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 0);  // no pH effect: the numbers are not used
  form.CheckpH.Click();
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 2);
  EXPECT_EQ(model.ChargeReactionText(1), "Fe+3 +2H+ +e=Fe+2 +3 H2O");
  form.OptionOH.Click();
  form.OK();
  EXPECT_EQ(model.ProtonCount(1), 3);
  EXPECT_EQ(model.ChargeReactionText(1), "Fe+3 +2H2O + e=Fe+2 +3OH-");
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
  EXPECT_EQ(messages, (std::vector<std::string>{"Error: Species number cannot > 8",
                                                "Error: chemical reaction number cannot > 4."}));
  EXPECT_EQ(model.FirstOrderReactionSpecies(4, 1), 0);  // the species beyond the eighth
}

}  // namespace
}  // namespace qalto
