#include <gtest/gtest.h>

#include <cmath>

#include "app/app_fixture.h"
#include "common/constants.h"

namespace qalto {
namespace {

using ChemicalsFormTest = AppTest;

// Keq = kf / kb; a kb of zero or text leaves the last constant in force, one that makes Keq
// larger than any number ends the change with the overflow message.
TEST_F(ChemicalsFormTest, EquilibriumConstantFollowsKfAndKb) {
  UseAnalyticalMechanism(7);
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  EXPECT_EQ(e.LabelKeq(1).Caption(), "1.e3");
  e.kf(1).SetText("5");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "5.e2");
  for (const char* kb : {"0", "abc", "1e-308"})
    e.kb(1).SetText(kb);
  EXPECT_EQ(e.LabelKeq(1).Caption(), "5.e2");
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"Run-time error: Overflow: Keq from kf 5 / kb 1e-308 of "
                                     "reaction 1 is beyond the number range; it keeps 5.e2"});
  e.kb(1).SetText("2");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "2.5e0");
  e.OK();
  EXPECT_DOUBLE_EQ(model.EquilibriumConstant(1), 2.5);
}

TEST_F(ChemicalsFormTest, FittedBoxesShowTheirRange) {
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  const std::pair<int, TextBox*> ranges[] = {{1, &e.TextCmax(1)},      {12, &e.TextKsmax(2)},
                                             {23, &e.TextAlphamax(3)}, {31, &e.TextEzeromax(1)},
                                             {44, &e.TextKfmax(4)},    {52, &e.TextKbmax(2)},
                                             {78, &e.TextDmax(8)}};
  for (auto [index, box] : ranges) {
    bool before = box->Visible();
    e.CheckFitted(index).Click();
    EXPECT_NE(box->Visible(), before) << index;
  }
}

TEST_F(ChemicalsFormTest, ChargeEquilibriumAtTheStartPotential) {
  // E start 0.3 V, E0 0.1 V, n = 1, 25 degrees: theta = exp(-0.2 F/RT), about 4.2e-4.
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  double theta = std::exp(-0.2 * kFaraday / (kGasConstant * 298.14));
  EXPECT_NEAR(Value(e.Cinit(2)), 1e-3 * theta, 1e-3 * 1e-3 * theta * 1000 * 0.005);
  EXPECT_NEAR(Value(e.Cinit(1)), 9.996e-4, 1e-12);
  EXPECT_EQ(e.Cinit(1).Caption(), "9.996e-4");
  EXPECT_DOUBLE_EQ(model.FOverRT, kFaraday / (kGasConstant * 298.14));
}

TEST_F(ChemicalsFormTest, FirstOrderEquilibriumMovesTheReactantToTheProduct) {
  UseAnalyticalMechanism(6);  // C = A, A + ne = B
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.C(1).SetText("0");
  e.C(3).SetText("1e-3");
  EXPECT_NEAR(Value(e.Cinit(3)), 1e-6, 0.01e-6);
  EXPECT_NEAR(Value(e.Cinit(1)), 9.99e-4, 0.001 * 9.99e-4);
}

// C = A (K = [A]/[C] = 0.01) and A + e = B at E start = E0: every equilibrium holds at once,
// A = B = K C with C + A + B = 1 mM, not the charge transfer's split after the chemistry's.
TEST_F(ChemicalsFormTest, AllEquilibriaHoldTogether) {
  UseAnalyticalMechanism(6);
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.1");
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.kf(1).SetText("0.01");
  e.kb(1).SetText("1");
  e.C(1).SetText("0");
  e.C(3).SetText("1e-3");
  const double C = 1e-3 / 1.02;
  EXPECT_NEAR(Value(e.Cinit(3)), C, 1e-4 * C);
  EXPECT_NEAR(Value(e.Cinit(1)), 0.01 * C, 1e-3 * 0.01 * C);
  EXPECT_NEAR(Value(e.Cinit(2)), 0.01 * C, 1e-3 * 0.01 * C);
}

TEST_F(ChemicalsFormTest, ComplexStepNeedsTheLigand) {
  UseAnalyticalMechanism(9);
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.C(3).SetText("1e-3");
  EXPECT_EQ(e.Cinit(3).Caption(), "1.e-3");  // X absent: no dissociation
  e.C(4).SetText("0.1");
  // MX4 = M + 4X with K = 1000 and X in excess: c1 / c3 = K / c4^4 = 1e7.
  EXPECT_LT(Value(e.Cinit(3)), 1e-9);
  // The extent is added to the ligand once, as for every product of a second-order step.
  EXPECT_EQ(e.Cinit(4).Caption(), "1.01e-1");
}

TEST_F(ChemicalsFormTest, PreconcentrationAddsTheDepositToSpecies2) {
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.CheckPreEqu.Click();  // equilibrium off: C init is C anal plus the deposit
  app.mnuInstrument_Click();
  app.Ins().CheckPreCon.Click();
  EXPECT_TRUE(app.Ins().FramePre.Visible());
  app.mnuExperimental_Click();
  // Planar electrode: volume = area x film length = 1 x 0.01 cm3. E pre -0.3 V, E0 0.1 V.
  double rotation = std::sqrt(2 * 100 * kPi / 60);
  double deposited = (10 / 0.01) * rotation * std::pow(0.01, -1.0 / 6.0) *
                     (1 - std::exp(-600 * 1e-3)) /
                     (std::exp((-0.3 - 0.1) * kFaraday * 1 / 298.14 / kGasConstant) + 1);
  EXPECT_NEAR(Value(e.Cinit(2)), deposited * 1e-3, deposited * 1e-3 * 1e-3);
}

}  // namespace
}  // namespace qalto
