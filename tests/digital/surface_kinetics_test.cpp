// The surface rows reduced to the entries the rates move refuse a zero coefficient. The entries
// and currents themselves show in every digital run: the stoichiometry in
// AnalyticalAgainstDigital (Stoichiometry2), several couples in
// DigitalTextbook.MultiStepReductionsAddTheirPlateaus and the scenario digital_total_current.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qalto
