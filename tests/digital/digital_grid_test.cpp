// The grid of the digital simulation: its first box, and the electrodes it cannot be built for.
// How far it reaches and where a film's wall stands show in the runs (the digital scenarios,
// thin_layer_test, digital_conservation_test).

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "digital/digital_grid.h"

namespace qalto {
namespace {

// 100 points of 10 mV at 0.1 V/s (0.1 s per point), D = 1e-5 cm2/s.
GridInputs PlanarSweep(double beta) {
  GridInputs in;
  in.electrode = Electrode::kPlanar;
  in.beta = beta;
  in.shortestStep = 0.1;
  in.minDiffusion = 1e-5;
  in.maxDiffusion = 1e-5;
  in.radius = 0.2821;
  in.duration = 10.0;
  in.kinematicViscosity = 0.01;
  in.rotationRate = 10.472;
  in.filmThickness = 0.01;
  return in;
}

// Refining halves the first box (the convergence tests compare a run with its refined twin), a
// hundredth of the radius at a small sphere; a curved electrode needs a radius, and no electrode
// has no grid.
TEST(DigitalGrid, RefinementRadiusAndElectrodesWithoutAGrid) {
  GridInputs in = PlanarSweep(0.5);
  const DigitalGrid g = BuildDigitalGrid(in);
  in.refinement = 2;
  EXPECT_DOUBLE_EQ(BuildDigitalGrid(in).firstBox, 0.5 * g.firstBox);
  in.refinement = 1;
  in.electrode = Electrode::kSpherical;
  in.radius = 1e-4;
  EXPECT_NEAR(BuildDigitalGrid(in).firstBox, 1e-6, 1e-18);
  in.radius = 0.0;
  EXPECT_THROW(BuildDigitalGrid(in), RuntimeError);
  in.radius = 1e-4;
  in.electrode = Electrode::kNone;
  EXPECT_THROW(BuildDigitalGrid(in), RuntimeError);
}

}  // namespace
}  // namespace qalto
