#include <gtest/gtest.h>

#include <cmath>

#include "app/app_fixture.h"
#include "common/constants.h"

namespace qalto {
namespace {

using ChemicalsFormTest = AppTest;

TEST_F(ChemicalsFormTest, DefaultWindowShowsTheIronCouple) {
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  EXPECT_TRUE(e.Shown());
  EXPECT_EQ(e.specie(1).Caption(), "Fe+3");
  EXPECT_EQ(e.specie(2).Caption(), "Fe+2");
  EXPECT_TRUE(e.D(2).Visible());
  EXPECT_FALSE(e.D(3).Visible());
  EXPECT_FALSE(e.CheckFitted(73).Visible());
  EXPECT_EQ(e.heter(1).Caption(), "Fe+3 +e=Fe+2");
  EXPECT_TRUE(e.ks(1).Visible());
  EXPECT_FALSE(e.ks(2).Visible());
  EXPECT_FALSE(e.kf(1).Visible());
  EXPECT_FALSE(e.LabelKeq(1).Visible());
  // Only the concentration range of species 1 is shown at the start.
  EXPECT_TRUE(e.TextCmin(1).Visible());
  EXPECT_FALSE(e.TextCmin(2).Visible());
  EXPECT_FALSE(e.TextDmin(1).Visible());
}

TEST_F(ChemicalsFormTest, ComplexMechanismRenamesTheSpecies) {
  UseAnalyticalMechanism(9);
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  EXPECT_EQ(e.specie(1).Caption(), "M");
  EXPECT_EQ(e.specie(2).Caption(), "B");
  EXPECT_EQ(e.specie(3).Caption(), "MX4");
  EXPECT_EQ(e.specie(4).Caption(), "X");
  EXPECT_TRUE(e.D(4).Visible());
  EXPECT_EQ(e.heter(1).Caption(), "M+ne=B");
  EXPECT_EQ(e.homo(1).Caption(), "MX4=M+4X");
  EXPECT_TRUE(e.kf(1).Visible());
  EXPECT_FALSE(e.kf(2).Visible());
  EXPECT_EQ(e.LabelKeq(1).Caption(), "1.e3");
}

TEST_F(ChemicalsFormTest, EquilibriumConstantFollowsKfAndKb) {
  UseAnalyticalMechanism(7);
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  EXPECT_EQ(e.LabelKeq(1).Caption(), "1.e3");
  e.kf(1).SetText("5");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "5.e2");
  e.kb(1).SetText("0");  // no backward reaction: the stale constant stays in force
  EXPECT_EQ(e.LabelKeq(1).Caption(), "5.e2");
  e.kb(1).SetText("abc");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "5.e2");
  e.kb(1).SetText("2");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "2.5e0");
  e.OK();
  EXPECT_DOUBLE_EQ(model.EquilibriumConstant(1), 2.5);
  EXPECT_DOUBLE_EQ(model.ForwardRateConstant(1), 5);
  EXPECT_DOUBLE_EQ(model.BackwardRateConstant(1), 2);
}

TEST_F(ChemicalsFormTest, FittedBoxesShowTheirRange) {
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.CheckFitted(73).Click();
  EXPECT_TRUE(e.TextDmin(3).Visible());
  EXPECT_TRUE(e.TextDmax(3).Visible());
  e.CheckFitted(73).Click();
  EXPECT_FALSE(e.TextDmin(3).Visible());
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

TEST_F(ChemicalsFormTest, SwitchingPreEquilibrationOffCopiesTheAnalyticalColumn) {
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.C(2).SetText("2.5e-4");
  e.CheckPreEqu.Click();
  EXPECT_EQ(e.Cinit(1).Caption(), "1.e-3");
  EXPECT_EQ(e.Cinit(2).Caption(), "2.5e-4");
  e.CheckPreEqu.Click();
  EXPECT_NE(e.Cinit(2).Caption(), "2.5e-4");
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

TEST_F(ChemicalsFormTest, ClosingHidesAndKeepsTheValues) {
  app.mnuExperimental_Click();
  app.Expr().D(1).SetText("7e-6");
  app.CloseForm(app.Expr());
  EXPECT_FALSE(app.Expr().Shown());
  app.mnuExperimental_Click();
  EXPECT_EQ(app.Expr().D(1).Text(), "7e-6");
  app.Expr().cmdOK_Click();
  EXPECT_DOUBLE_EQ(model.SpeciesD(1), 7e-6);
  EXPECT_FALSE(app.Expr().Shown());
}

}  // namespace
}  // namespace qalto
