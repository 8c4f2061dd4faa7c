#include "simulation/pulse_currents.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/checked_math.h"
#include "common/runtime_error.h"
#include "simulation/kinetic_currents.h"
#include "simulation/kinetic_test_model.h"

namespace qalto {
namespace {

TEST(DifferentialPulsePlanarCurrent, ReversiblePeakAtHalfWaveMinusHalfPulse) {
  // Reversible couple, long drop: the peak lies at E0 - P/2 and its height is
  // C (1 - s) / (1 + s) with s = exp(n f P / 2).
  Model model = KineticTestModel();
  model.DropTime = 1e6;
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  args.P = -0.05;
  double best = 0;
  double bestE = 0;
  for (double E = 0.0; E <= 0.05; E += 1e-4) {
    args.E = E;
    double current = DifferentialPulsePlanarCurrent(model, args);
    if (current > best) {
      best = current;
      bestE = E;
    }
  }
  double s = std::exp(model.FOverRT * args.P / 2);
  EXPECT_NEAR(bestE, 0.025, 1.5e-4);
  EXPECT_NEAR(best, Cottrell(args) * (1 - s) / (1 + s), 1e-5 * Cottrell(args));
}

TEST(DifferentialPulseSphericalCurrent, ReducesToPlanarForALargeSphere) {
  Model model = KineticTestModel();
  model.Radius = 1e6;
  KineticArguments args = KineticTestReaction();
  args.P = -0.05;
  for (double E = -0.2; E <= 0.2; E += 0.05) {
    args.E = E;
    EXPECT_NEAR(DifferentialPulseSphericalCurrent(model, args),
                DifferentialPulsePlanarCurrent(model, args), 1e-9 * Cottrell(args));
  }
}

TEST(PulseCurrents, OverflowRaises) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.E0 = 100.0;
  EXPECT_THROW(DifferentialPulsePlanarCurrent(model, args), RuntimeError);
  // A pulse longer than the drop leaves a negative time.
  args = KineticTestReaction();
  model.DropTime = 0.001;
  EXPECT_THROW(DifferentialPulsePlanarCurrent(model, args), RuntimeError);
}

}  // namespace
}  // namespace qalto
