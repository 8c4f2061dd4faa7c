#include "chemistry/pre_equilibration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/constants.h"
#include "common/runtime_error.h"
#include "simulation/analytical_run_model.h"

namespace qalto {
namespace {

// O + e = R at 25 degrees, E0 0.1 V, E start 0.3 V: the Nernst ratio R/O = exp(-0.2 F/RT).
class PreEquilibrationTest : public ::testing::Test {
 protected:
  PreEquilibrationTest() {
    model.Temperature = 298.15;
    AddChargeReaction(model, 1, 2, 0.1);
    inputs.analytical(1) = TypedNumber(1e-3);
    inputs.e0(1) = TypedNumber(0.1);
    inputs.startPotential = TypedNumber(0.3);
  }
  Model model;
  PreEquilibrationInputs inputs;
};

// Nernst at the start potential with F/RT of the model's temperature, which the computation
// sets. Without pre-equilibration the column is the analytical one: the test below and the
// scenario analytical_sweep.
TEST_F(PreEquilibrationTest, NernstAtTheStartPotentialFromTheRoundedColumn) {
  inputs.preEquilibrate = true;
  const InitialConcentrations column = ComputeInitialConcentrations(model, inputs);
  const double theta = std::exp(-0.2 * kFaraday / (kGasConstant * 298.15));
  ASSERT_TRUE(column(1) && column(2));
  // In full precision: the Nernst ratio and the mass balance hold to rounding.
  EXPECT_NEAR(*column(2) / *column(1), theta, theta * 1e-9);
  EXPECT_NEAR(*column(1) + *column(2), 1e-3, 1e-3 * 1e-12);
}

// A box beyond the number range abandons only the statements that read it: the species keeps
// what the column showed, the others are computed.
TEST_F(PreEquilibrationTest, AnOverflowingBoxLeavesItsSpeciesAsShown) {
  inputs.analytical(2) = TypedNumber::Read("1e999");
  inputs.shown(2) = TypedNumber(7e-4);
  const InitialConcentrations column = ComputeInitialConcentrations(model, inputs);
  EXPECT_EQ(column(1), 1e-3);
  EXPECT_FALSE(column(2));
  inputs.preEquilibrate = true;
  inputs.e0(1) = TypedNumber::Read("1e999");  // no Nernst ratio: theta stays 0, all oxidised
  const InitialConcentrations equilibrated = ComputeInitialConcentrations(model, inputs);
  EXPECT_DOUBLE_EQ(*equilibrated(1), 1e-3 + 7e-4);  // with the 7e-4 the column showed
  EXPECT_EQ(equilibrated(2), 0.0);
}

}  // namespace
}  // namespace qalto
