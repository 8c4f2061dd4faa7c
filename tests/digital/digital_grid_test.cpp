// The grid of the digital simulation: where it starts, how far it reaches, where it ends.

#include <gtest/gtest.h>

#include <cmath>

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

TEST(DigitalGrid, FirstBoxAndExtent) {
  const DigitalGrid g = BuildDigitalGrid(PlanarSweep(0.5));
  EXPECT_NEAR(g.firstBox, std::sqrt(1e-6 / 200.0), 1e-15);
  // The grid reaches six diffusion lengths of the whole run, and no box further.
  EXPECT_GT(g.x[g.boxes + 1] * g.firstBox, 6.0 * std::sqrt(1e-5 * 10.0));
  EXPECT_LT(g.x[g.boxes] * g.firstBox, 6.0 * std::sqrt(1e-5 * 10.0));
  EXPECT_FALSE(g.closedOutside);
  // Refining halves the first box; a fast reaction makes it a twentieth of sqrt(D / k); a
  // hundredth of the radius at a small sphere.
  GridInputs in = PlanarSweep(0.5);
  in.refinement = 2;
  EXPECT_DOUBLE_EQ(BuildDigitalGrid(in).firstBox, 0.5 * g.firstBox);
  in.refinement = 1;
  in.reactionRate = 1e6;
  EXPECT_NEAR(BuildDigitalGrid(in).firstBox, std::sqrt(1e-11) / 20.0, 1e-15);
  in = PlanarSweep(0.5);
  in.electrode = Electrode::kSpherical;
  in.radius = 1e-4;
  EXPECT_NEAR(BuildDigitalGrid(in).firstBox, 1e-6, 1e-18);
  // A curved electrode needs a radius; no electrode has no grid.
  in.radius = 0.0;
  EXPECT_THROW(BuildDigitalGrid(in), RuntimeError);
  in.radius = 1e-4;
  in.electrode = Electrode::kNone;
  EXPECT_THROW(BuildDigitalGrid(in), RuntimeError);
}

TEST(DigitalGrid, ThinFilmEndsInAWallAtItsThickness) {
  GridInputs in = PlanarSweep(0.5);
  in.electrode = Electrode::kThinFilm;
  in.filmThickness = 2e-3;  // cm
  const DigitalGrid film = BuildDigitalGrid(in);
  EXPECT_TRUE(film.closedOutside);
  EXPECT_NEAR(film.x[film.boxes + 1] * film.firstBox, 2e-3, 1e-15);
  EXPECT_EQ(film.d2[film.boxes], 0.0);
  // A film thinner than the run's first box spans 40 boxes of a fortieth of it; one thicker than
  // the run can deplete keeps the whole grid, closed at its end.
  in.filmThickness = 0.5 * film.firstBox;
  const DigitalGrid thin = BuildDigitalGrid(in);
  EXPECT_EQ(thin.boxes, 40);
  EXPECT_NEAR(thin.firstBox, in.filmThickness / 40, 1e-20);
  EXPECT_NEAR(thin.x[41], 40.0, 1e-12);
  in.filmThickness = 10.0;
  const DigitalGrid thick = BuildDigitalGrid(in);
  EXPECT_EQ(thick.boxes, BuildDigitalGrid(PlanarSweep(0.5)).boxes);
  EXPECT_EQ(thick.d2[thick.boxes], 0.0);
}

}  // namespace
}  // namespace qalto
