#include <gtest/gtest.h>

#include <cmath>

#include "app/app_fixture.h"
#include "common/constants.h"

namespace qalto {
namespace {

using ChemicalsFormTest = AppTest;

// Keq = kf / kb (its first caption, 1.e3: overflows.qs); a kb of zero (or text, which reads as
// zero) makes the reaction irreversible, and Keq shows infinity; one that makes Keq larger than
// any number ends the change with the overflow message.
TEST_F(ChemicalsFormTest, EquilibriumConstantFollowsKfAndKb) {
  UseAnalyticalMechanism(7);
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.kf(1).SetText("5");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "5.e2");
  for (const char* kb : {"0", "abc"}) {
    e.kb(1).SetText("1");
    e.kb(1).SetText(kb);
    EXPECT_EQ(e.LabelKeq(1).Caption(), "\u221e") << kb;
  }
  e.kb(1).SetText("1e-308");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "\u221e");
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"Run-time error: Overflow: Keq from kf 5 / kb 1e-308 of "
                                     "reaction 1 is beyond the number range; it keeps \u221e"});
  e.kb(1).SetText("2");
  EXPECT_EQ(e.LabelKeq(1).Caption(), "2.5e0");
  e.OK();
  EXPECT_DOUBLE_EQ(model.EquilibriumConstant(1), 2.5);
}

// An irreversible step (kb = 0) has no equilibrium for Pre-equil to hold: EC with B -> C
// leaves A at its Nernst share at E start (the last Keq shown, 1000, put 29 % of it into C),
// and EC' (B + C -> A, k' = kf C(C) = 10 /s) at a sphere of 10 um steps to the textbook current
// nFAC (D/r + sqrt(D k') (erf sqrt(k' t) + e^-k't / sqrt(pi k' t))) (it was 0.1 % low).
TEST_F(ChemicalsFormTest, IrreversibleStepIsLeftAloneByPreEquilibration) {
  UseAnalyticalMechanism(7);
  app.mnuExperimental_Click();
  app.Expr().kf(1).SetText("100");
  app.Expr().kb(1).SetText("0");
  const double theta = std::exp(-0.2 * kFaraday / (kGasConstant * 298.14));  // B/A at E start
  EXPECT_NEAR(Value(app.Expr().Cinit(1)), 1e-3 / (1 + theta), 1e-7);
  EXPECT_EQ(Value(app.Expr().Cinit(3)), 0.0);
  UseAnalyticalMechanism(8);
  ChooseTechnique(7);
  app.mnuInstrument_Click();
  app.Ins().optElectrode(2).Click();
  app.Ins().radius.SetText("1e-3");
  app.Ins().TextE1.SetText("-0.5");
  app.Ins().TextT1.SetText("2");
  app.Ins().TextTSample.SetText("0.01");
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.ks(1).SetText("10");
  e.Eze(1).SetText("0");  // 0.3 V below E start: B/A there 1e-5
  e.C(3).SetText("1");
  e.kf(1).SetText("10");
  e.kb(1).SetText("0");
  ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  const double r = 1e-3, D = 1e-5, k = 10, C = 1e-6;
  for (int i : {1, 10, 200}) {  // 0.01, 0.1 and 2 s
    const double t = 0.01 * i;
    const double textbook =
        kFaraday * 4 * kPi * r * r * C *
        (D / r + std::sqrt(D * k) *
                     (std::erf(std::sqrt(k * t)) + std::exp(-k * t) / std::sqrt(kPi * k * t)));
    EXPECT_NEAR(model.CurrentY(i, 1) / textbook, 1.0, 1e-4) << t;
  }
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

// C = A, A + e = B: a first-order equilibrium moves the reactant to the product, at the default
// E start with K = [A]/[C] = 1000, and every equilibrium holds at once at E start = E0 with
// K = 0.01: A = B = K C with C + A + B = 1 mM, not the charge transfer's split after the
// chemistry's. (The charge's own equilibrium at E start, Cinit 9.996e-4 and 4.159e-7, is pinned
// by forms.qs; F/RT at 25 degrees by limits.qs.)
TEST_F(ChemicalsFormTest, FirstOrderEquilibriaHoldTogetherWithTheChargeTransfer) {
  UseAnalyticalMechanism(6);
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.C(1).SetText("0");
  e.C(3).SetText("1e-3");
  EXPECT_NEAR(Value(e.Cinit(3)), 1e-6, 0.01e-6);
  EXPECT_NEAR(Value(e.Cinit(1)), 9.99e-4, 0.001 * 9.99e-4);
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.1");
  app.mnuExperimental_Click();
  e.kf(1).SetText("0.01");
  e.kb(1).SetText("1");
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
