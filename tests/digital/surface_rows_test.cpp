#include <gtest/gtest.h>

#include "digital/invert_matrix.h"
#include "digital/surface_rows.h"

namespace qalto {
namespace {

ChargeTransfer Reactions(std::initializer_list<std::pair<int, int>> pairs) {
  ChargeTransfer t;
  for (const auto& [ox, red] : pairs) {
    ++t.count;
    t.reactions[t.count].ox = ox;
    t.reactions[t.count].red = red;
  }
  return t;
}

SpeciesVector Conductances(int species) {
  SpeciesVector g{};
  for (int s = 1; s <= species; ++s)
    g[s] = 0.1 * s;
  return g;
}

ChargeRates Rates(std::initializer_list<std::pair<double, double>> factors) {
  ChargeRates rates;
  int r = 0;
  for (const auto& [kf, kb] : factors) {
    ++r;
    rates.forward[r] = kf;
    rates.backward[r] = kb;
  }
  return rates;
}

TEST(SurfaceRows, SimpleReactionWritesTheOxidizedRowAndBalancesTheReducedSpecies) {
  ChargeTransfer t = Reactions({{1, 2}});
  t.reactions[1].nuO = 2.0;  // 2 O + n e = R
  const SpeciesVector g = Conductances(3);
  const SurfaceRows plan = PlanSurfaceRows(t, 3, g);
  EXPECT_TRUE(plan.oxidizedRow[1]);
  SpeciesMatrix S{};
  SpeciesMatrix W{};
  WriteSurfaceRows(plan, t, Rates({{5.0, 0.25}}), S);
  WriteSurfaceSource(plan, t, W);
  // Row of O: (g_O + kf) and -kb nuO/nuR.
  EXPECT_DOUBLE_EQ(S[1][1], 0.1 + 5.0);
  EXPECT_DOUBLE_EQ(S[1][2], -0.25 * 2.0);
  // Row of R: its flux out equals what the reaction makes, nuR (kf C_O/nuO - kb C_R/nuR).
  EXPECT_DOUBLE_EQ(S[2][1], -5.0 / 2.0);
  EXPECT_DOUBLE_EQ(S[2][2], 0.2 + 0.25);
  // Species 3 takes part in no reaction: no flux.
  EXPECT_DOUBLE_EQ(S[3][3], 0.3);
  EXPECT_EQ(S[3][1], 0.0);
  EXPECT_EQ(S[3][2], 0.0);
  for (int s = 1; s <= 3; ++s)
    EXPECT_DOUBLE_EQ(W[s][s], g[s]);

  // Mass balance: the surface concentrations for given box-1 concentrations make the flux of
  // R into the solution, per nuR, equal the flux of O to the electrode, per nuO.
  SpeciesMatrix inverse = S;
  InvertMatrix(inverse, 3, ShowMessage{});
  const SpeciesVector box1{0.0, 1.0, 0.3, 0.7};
  SpeciesVector surface{};
  for (int r = 1; r <= 3; ++r) {
    for (int k = 1; k <= 3; ++k) {
      for (int m = 1; m <= 3; ++m)
        surface[r] += inverse[r][k] * W[k][m] * box1[m];
    }
  }
  const double consumedO = g[1] * (box1[1] - surface[1]);
  const double producedR = g[2] * (surface[2] - box1[2]);
  EXPECT_GT(consumedO, 0.0);
  EXPECT_NEAR(consumedO / 2.0, producedR / 1.0, 1e-14);
  EXPECT_NEAR(surface[3], box1[3], 1e-15);
}

TEST(SurfaceRows, TwoStepReactionWritesTheOuterRowsAndBalancesTheMiddleSpecies) {
  const ChargeTransfer t = Reactions({{1, 2}, {2, 3}});
  const SurfaceRows plan = PlanSurfaceRows(t, 3, Conductances(3));
  EXPECT_FALSE(plan.chain);
  EXPECT_TRUE(plan.oxidizedRow[1]);
  EXPECT_FALSE(plan.oxidizedRow[2]);  // B is the product of step 1: step 2 writes the row of C
  SpeciesMatrix S{};
  WriteSurfaceRows(plan, t, Rates({{2.0, 0.5}, {3.0, 0.25}}), S);
  EXPECT_DOUBLE_EQ(S[1][1], 0.1 + 2.0);
  EXPECT_DOUBLE_EQ(S[1][2], -0.5);
  EXPECT_DOUBLE_EQ(S[3][2], -3.0);
  EXPECT_DOUBLE_EQ(S[3][3], 0.3 + 0.25);
  // B: made by step 1, consumed by step 2.
  EXPECT_DOUBLE_EQ(S[2][1], -2.0);
  EXPECT_DOUBLE_EQ(S[2][2], 0.2 + 0.5 + 3.0);
  EXPECT_DOUBLE_EQ(S[2][3], -0.25);
}

TEST(SurfaceRows, ThreeStepChainTakesItsOwnRows) {
  ChargeTransfer t = Reactions({{1, 2}, {2, 3}, {3, 4}});
  t.reactions[1].nuR = 2.0;
  t.reactions[3].nuO = 3.0;
  const SpeciesVector g = Conductances(4);
  const SurfaceRows plan = PlanSurfaceRows(t, 4, g);
  ASSERT_TRUE(plan.chain);
  SpeciesMatrix S{};
  SpeciesMatrix W{};
  WriteSurfaceRows(plan, t, Rates({{2.0, 0.5}, {3.0, 0.25}, {4.0, 0.125}}), S);
  WriteSurfaceSource(plan, t, W);
  EXPECT_DOUBLE_EQ(S[1][1], 0.1 + 2.0);
  EXPECT_DOUBLE_EQ(S[1][2], -0.5 * 0.5);
  EXPECT_DOUBLE_EQ(S[2][1], -2.0);
  EXPECT_DOUBLE_EQ(S[2][2], (0.2 + 0.5) * 0.5 + 3.0);
  EXPECT_DOUBLE_EQ(S[2][3], -0.25);
  EXPECT_DOUBLE_EQ(S[4][3], -4.0);
  EXPECT_DOUBLE_EQ(S[4][4], (0.4 + 0.125) * 3.0);
  EXPECT_DOUBLE_EQ(W[1][1], 0.1);
  EXPECT_DOUBLE_EQ(W[2][2], 0.2 * 0.5);
  EXPECT_DOUBLE_EQ(W[4][4], 0.4 * 3.0);
  // C is balanced: made by step 2, consumed by step 3.
  EXPECT_DOUBLE_EQ(W[3][3], 0.3);
  EXPECT_DOUBLE_EQ(S[3][2], -3.0);
  EXPECT_DOUBLE_EQ(S[3][3], 0.3 + 0.25 + 4.0);
  EXPECT_DOUBLE_EQ(S[3][4], -0.125 * 3.0);

  // The same reactions with other species numbers are no chain of the special form.
  const ChargeTransfer renumbered = Reactions({{2, 1}, {1, 3}, {3, 4}});
  EXPECT_FALSE(PlanSurfaceRows(renumbered, 4, g).chain);
}

TEST(SurfaceRows, IndependentAndParallelReactions) {
  // A + e = B, C + e = D: both write the row of their oxidized species.
  const ChargeTransfer independent = Reactions({{1, 2}, {3, 4}});
  const SurfaceRows plan = PlanSurfaceRows(independent, 4, Conductances(4));
  EXPECT_TRUE(plan.oxidizedRow[1]);
  EXPECT_TRUE(plan.oxidizedRow[2]);
  EXPECT_TRUE(plan.written[1] && plan.written[3]);
  EXPECT_FALSE(plan.written[2] || plan.written[4]);

  // One oxidized species reduced to two products: each reaction writes its product's row and
  // the oxidized species is balanced against both.
  const ChargeTransfer parallel = Reactions({{1, 2}, {1, 3}});
  const SurfaceRows parallelPlan = PlanSurfaceRows(parallel, 3, Conductances(3));
  EXPECT_FALSE(parallelPlan.oxidizedRow[1]);
  EXPECT_FALSE(parallelPlan.oxidizedRow[2]);
  SpeciesMatrix S{};
  WriteSurfaceRows(parallelPlan, parallel, Rates({{2.0, 0.5}, {3.0, 0.25}}), S);
  EXPECT_DOUBLE_EQ(S[1][1], 0.1 + 2.0 + 3.0);
  EXPECT_DOUBLE_EQ(S[1][2], -0.5);
  EXPECT_DOUBLE_EQ(S[1][3], -0.25);

  // A reaction without a reduced species (deposition): the row of O only.
  const ChargeTransfer deposition = Reactions({{1, 0}});
  SpeciesMatrix D{};
  WriteSurfaceRows(PlanSurfaceRows(deposition, 1, Conductances(1)), deposition, Rates({{2.0, 0.5}}),
                   D);
  EXPECT_DOUBLE_EQ(D[1][1], 0.1 + 2.0);
  EXPECT_EQ(D[1][0], 0.0);
}

}  // namespace
}  // namespace qalto
