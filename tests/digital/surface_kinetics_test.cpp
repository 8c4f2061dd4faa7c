// The surface rows reduced to the entries the rates move: the same rows and currents as their
// definition, for every pattern of rows the mechanisms make.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/error_description.h"
#include "digital/surface_kinetics.h"

namespace qalto {
namespace {

struct Couple {
  int ox, red;
  double nuO = 1, nuR = 1;
};

struct RowsCase {
  std::string name;
  int species;
  std::vector<Couple> couples;
};

ChargeTransfer Transfer(const RowsCase& c) {
  ChargeTransfer t;
  t.count = static_cast<int>(c.couples.size());
  t.FOverRT = 38.9;
  for (int r = 1; r <= t.count; ++r) {
    const Couple& x = c.couples[static_cast<std::size_t>(r - 1)];
    t.reactions[r] = {x.ox, x.red, x.nuO, x.nuR, 1.0 + r, 0.01 * r, 0.4, -0.1 * r, 0.0, {}};
  }
  return t;
}

class SurfaceKineticsTest : public testing::TestWithParam<RowsCase> {};

TEST_P(SurfaceKineticsTest, EntriesAndCurrentsFollowTheRows) {
  const RowsCase& c = GetParam();
  const ChargeTransfer transfer = Transfer(c);
  SpeciesVector g{};
  for (int s = 1; s <= c.species; ++s)
    g[s] = 0.01 * (s + 2);
  const SurfaceRows plan = PlanSurfaceRows(transfer, c.species, g);
  const SurfaceKinetics kinetics = ReduceSurfaceKinetics(plan, transfer, 96.4846);
  SpeciesVector surface{};
  for (int s = 1; s <= c.species; ++s)
    surface[s] = 1e-3 / s;
  SpeciesMatrix fast{};
  for (double E : {0.3, -0.05, -0.4}) {
    ChargeRates rates;
    ComputeChargeRates(transfer, E, rates);
    SpeciesMatrix rows{};
    WriteSurfaceRows(plan, transfer, rates, rows);
    ClearSurfaceRows(fast);
    WriteSurfaceEntries(kinetics, rates, fast);
    for (int r = 1; r <= c.species; ++r)
      for (int k = 1; k <= c.species; ++k)
        EXPECT_NEAR(fast[r][k], rows[r][k], 1e-15 * (1.0 + std::abs(rows[r][k]))) << r << k;
    std::array<double, kMaxChargeReactions + 1> currents{};
    SurfaceCurrents(kinetics, rates, surface, currents);
    for (int r = 1; r <= transfer.count; ++r) {
      const ChargeReaction& q = transfer.reactions[r];
      const double rate = NetReductionRate(q, rates.forward[r], rates.backward[r], surface);
      EXPECT_DOUBLE_EQ(currents[r], 96.4846 * q.n * rate) << r;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Mechanisms, SurfaceKineticsTest,
    testing::Values(RowsCase{"OneCouple", 2, {{1, 2}}},
                    RowsCase{"Stoichiometry", 2, {{1, 2, 2.0, 1.0}}},
                    RowsCase{"TwoSteps", 3, {{1, 2}, {2, 3}}},
                    RowsCase{"ThreeStepChain", 4, {{1, 2}, {2, 3}, {3, 4}}},
                    RowsCase{"IndependentCouples", 6, {{1, 2}, {3, 4}, {5, 6}}},
                    RowsCase{"SpectatorSpecies", 3, {{1, 2}}},
                    RowsCase{"NoReducedSpecies", 2, {{1, 0}}}),
    [](const testing::TestParamInfo<RowsCase>& info) { return info.param.name; });

// A zero stoichiometric coefficient is refused when the run is prepared, as the first step would.
TEST(SurfaceKinetics, ZeroCoefficientIsADivisionByZero) {
  RowsCase c{"Zero", 2, {{1, 2, 0.0, 1.0}}};
  const ChargeTransfer transfer = Transfer(c);
  const SurfaceRows plan = PlanSurfaceRows(transfer, 2, SpeciesVector{});
  EXPECT_EQ(ErrorDescription([&] { ReduceSurfaceKinetics(plan, transfer, 1.0); }),
            "Division by zero");
}

}  // namespace
}  // namespace qalto
