// The surface rows reduced to the entries the rates move: written entry by entry they are the
// rows themselves, and a zero coefficient is refused. The currents show in every digital run: the
// stoichiometry in AnalyticalAgainstDigital (Stoichiometry2), several couples in
// DigitalTextbook.MultiStepReductionsAddTheirPlateaus and the scenario digital_total_current.

#include <gtest/gtest.h>

#include <cmath>

#include "common/error_description.h"
#include "digital/surface_kinetics.h"

namespace qalto {
namespace {

// A zero stoichiometric coefficient is refused when the run is prepared, as the first step would.
TEST(SurfaceKinetics, ZeroCoefficientIsADivisionByZero) {
  ChargeTransfer transfer;
  transfer.count = 1;
  transfer.FOverRT = 38.9;
  transfer.reactions[1] = {1, 2, 0.0, 1.0, 2.0, 0.01, 0.4, -0.1, 0.0, {}};
  const SurfaceRows plan = PlanSurfaceRows(transfer, 2, SpeciesVector{});
  EXPECT_EQ(ErrorDescription([&] { ReduceSurfaceKinetics(plan, transfer, 1.0); }),
            "Division by zero");
}

// Two couples in a row, A + e = B and 2 B + 2 e = C, and D + e = E beside them: B's own entry
// holds a rate of each couple, the others one or none.
TEST(SurfaceKinetics, EntriesWrittenOneByOneAreTheRows) {
  ChargeTransfer transfer;
  transfer.count = 3;
  transfer.FOverRT = 38.9;
  transfer.reactions[1] = {1, 2, 1.0, 1.0, 1.0, 0.01, 0.5, 0.1, 0.0, {}};
  transfer.reactions[2] = {2, 3, 2.0, 1.0, 2.0, 0.02, 0.4, -0.2, 0.0, {}};
  transfer.reactions[3] = {4, 5, 1.0, 1.0, 1.0, 1.0, 0.6, -0.4, 0.0, {}};
  const SpeciesVector g{0.0, 1e-2, 2e-2, 3e-2, 4e-2, 5e-2};
  const SurfaceRows plan = PlanSurfaceRows(transfer, 5, g);
  const SurfaceKinetics kinetics = ReduceSurfaceKinetics(plan, transfer, 1.0);
  ChargeRates rates;
  rates.forward = {0.0, 2.5, 0.7, 1e-6};
  rates.backward = {0.0, 0.3, 11.0, 4e5};
  SpeciesMatrix rows{}, entries{};
  WriteSurfaceRows(plan, transfer, rates, rows);
  WriteSurfaceEntries(kinetics, rates, entries);
  for (int r = 1; r <= 5; ++r) {
    for (int c = 1; c <= 5; ++c)
      EXPECT_NEAR(entries[r][c], rows[r][c], 1e-15 * std::abs(rows[r][c])) << r << ", " << c;
  }
  EXPECT_FALSE(kinetics.cells.empty());  // B's entry, of two rates
}

}  // namespace
}  // namespace qalto
