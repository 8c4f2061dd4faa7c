#include <gtest/gtest.h>

#include <cmath>

#include "common/runtime_error.h"
#include "digital/digital_grid.h"

namespace qalto {
namespace {

// 100 points of 10 mV at 0.1 V/s (0.1 s per point), D = 1e-5 cm2/s.
GridInputs PlanarSweep(double beta) {
  GridInputs in;
  in.electrode = 1;
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

TEST(DigitalGrid, PlanarGridFromTheShortestStepAndTheRunLength) {
  const DigitalGrid g = BuildDigitalGrid(PlanarSweep(0.5));
  EXPECT_NEAR(g.firstBox, std::sqrt(1e-6 / 200.0), 1e-15);
  // NJ = ceil(ln(1 + (e^0.5 - 1) 6 sqrt(D 10 s) / dx1) / 0.5) = ceil(12.63).
  EXPECT_EQ(g.boxes, 13);
  EXPECT_EQ(g.x[1], 0.0);
  EXPECT_DOUBLE_EQ(g.x[2], 1.0);
  EXPECT_DOUBLE_EQ(g.h[1], (std::exp(0.25) - 1.0) / (std::exp(0.5) - 1.0));
  // The grid reaches six diffusion lengths of the whole run.
  EXPECT_GT(g.x[g.boxes + 1] * g.firstBox, 6.0 * std::sqrt(1e-5 * 10.0));
  EXPECT_LT(g.x[g.boxes] * g.firstBox, 6.0 * std::sqrt(1e-5 * 10.0));
  EXPECT_FALSE(g.closedOutside);
  EXPECT_DOUBLE_EQ(g.d1[1], 1.0 / g.h[1]);
  EXPECT_DOUBLE_EQ(g.d2[1], 1.0 / (g.h[2] - g.h[1]));
  EXPECT_DOUBLE_EQ(g.d1[5], 1.0 / ((g.h[5] - g.h[4]) * (g.x[6] - g.x[5])));
  EXPECT_DOUBLE_EQ(g.d2[5], 1.0 / ((g.h[6] - g.h[5]) * (g.x[6] - g.x[5])));

  // Refining halves the first box; a fast reaction makes it a twentieth of sqrt(D / k).
  GridInputs in = PlanarSweep(0.5);
  in.refinement = 2;
  EXPECT_DOUBLE_EQ(BuildDigitalGrid(in).firstBox, 0.5 * g.firstBox);
  in.refinement = 1;
  in.reactionRate = 1e6;
  EXPECT_NEAR(BuildDigitalGrid(in).firstBox, std::sqrt(1e-11) / 20.0, 1e-15);

  // A larger expansion factor needs fewer boxes; a very small one more than the tables hold.
  EXPECT_LT(BuildDigitalGrid(PlanarSweep(1.0)).boxes, 13);
  try {
    BuildDigitalGrid(PlanarSweep(0.01));
    FAIL() << "expected more than 200 grid points to fail";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Description(),
              "Subscript out of range: the grid needs 227 points, it holds at most 200 (a larger "
              "Expanding grid)");
  }
}

TEST(DigitalGrid, CurvedElectrodesMeasureTheRadiusInFirstBoxes) {
  GridInputs in = PlanarSweep(0.5);
  in.electrode = 2;
  in.radius = 1e-4;  // cm: a hundredth of it is finer than the step's diffusion length
  const DigitalGrid sphere = BuildDigitalGrid(in);
  EXPECT_NEAR(sphere.firstBox, 1e-6, 1e-18);
  EXPECT_NEAR(sphere.R0, 100.0, 1e-9);
  // The flux of the steady profile 1/r between the centres (the surface for box 1).
  const double V1 = std::pow(101.0, 3) - 1e6;
  EXPECT_NEAR(sphere.d1[1], 3.0 * 100.0 * (100.0 + sphere.h[1]) / (sphere.h[1] * V1), 1e-12);
  EXPECT_NEAR(sphere.surfaceFactor, (100.0 + sphere.h[1]) / 100.0, 1e-12);
  const double V5 = std::pow(100.0 + sphere.x[6], 3) - std::pow(100.0 + sphere.x[5], 3);
  EXPECT_NEAR(
      sphere.d1[5],
      3.0 * (100.0 + sphere.h[4]) * (100.0 + sphere.h[5]) / ((sphere.h[5] - sphere.h[4]) * V5),
      1e-12);
  in.electrode = 1;
  const DigitalGrid plane = BuildDigitalGrid(in);
  // Diffusion into a growing volume: less exchange inward and more outward than in a plane.
  EXPECT_LT(sphere.d1[5], plane.d1[5]);
  EXPECT_GT(sphere.d2[5], plane.d2[5]);

  in.electrode = 5;
  const DigitalGrid cylinder = BuildDigitalGrid(in);
  EXPECT_NEAR(cylinder.d2[1],
              2.0 / (std::log((100.0 + cylinder.h[2]) / (100.0 + cylinder.h[1])) * 201.0), 1e-12);

  in.radius = 0.0;
  EXPECT_THROW(BuildDigitalGrid(in), RuntimeError);
  in.electrode = 11;
  EXPECT_THROW(BuildDigitalGrid(in), RuntimeError);
}

TEST(DigitalGrid, ThinFilmEndsInAWallAtItsThickness) {
  GridInputs in = PlanarSweep(0.5);
  in.electrode = 9;
  in.filmThickness = 2e-3;  // cm
  const DigitalGrid film = BuildDigitalGrid(in);
  EXPECT_TRUE(film.closedOutside);
  EXPECT_NEAR(film.x[film.boxes + 1] * film.firstBox, 2e-3, 1e-15);
  EXPECT_EQ(film.d2[film.boxes], 0.0);
  EXPECT_GT(film.h[film.boxes], film.x[film.boxes]);
  EXPECT_LT(film.h[film.boxes], film.x[film.boxes + 1]);
  EXPECT_LT(film.boxes, BuildDigitalGrid(PlanarSweep(0.5)).boxes);

  // A film thinner than the first box is one box.
  in.filmThickness = 0.5 * film.firstBox;
  const DigitalGrid thin = BuildDigitalGrid(in);
  EXPECT_EQ(thin.boxes, 1);
  EXPECT_NEAR(thin.d1[1], 1.0 / (thin.h[1] * thin.x[2]), 1e-9);
  EXPECT_EQ(thin.d2[1], 0.0);

  // A film thicker than the run can deplete keeps the whole grid, closed at its end.
  in.filmThickness = 10.0;
  const DigitalGrid thick = BuildDigitalGrid(in);
  EXPECT_EQ(thick.boxes, 13);
  EXPECT_EQ(thick.d2[13], 0.0);
}

}  // namespace
}  // namespace qalto
