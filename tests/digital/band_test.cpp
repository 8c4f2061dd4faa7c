// The digital band on its own two-dimensional grid: the planar transient with both edges at
// short times, the slow logarithmic decay at long ones, and runs on a grid and time steps twice
// as fine.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"

namespace qalto {
namespace {

using namespace digital_test;

constexpr double kLength = 0.1;  // cm

// A + e = B at a band of width w and length 0.1 cm (the model holds the radius w/4 of the half
// cylinder, as the Instrument form sets it), a drop of t on the plateau.
std::unique_ptr<Model> BandDrop(double w, double t) {
  auto m = LimitingDrops(10, w / 4.0, t);
  m->ElectrodeLength = kLength;
  m->ElectrodeArea = kPi * m->Radius * kLength;
  return m;
}

double Drop(Model& m, int refinement = 1) {
  Simulate(m, refinement);
  return m.ReactionCurrents(1, m.TotalCurrentColumn);
}

// Dt/w^2 = 1e-4 and 1e-3: the plane's Cottrell current plus nFDCl for the two edges, whose next
// term is of order sqrt(Dt)/w smaller.
TEST(Band, ShortTimesArePlanarPlusTheEdges) {
  const double w = 1e-3;
  for (double theta : {1e-4, 1e-3}) {
    const double t = theta * w * w / kD;
    auto m = BandDrop(w, t);
    const double planar = kF * kC * kLength * w * std::sqrt(kD / (kPi * t));
    const double edges = kF * kD * kC * kLength;
    EXPECT_NEAR(Drop(*m) / (planar + edges), 1.0, 0.002 + 2.0 * std::sqrt(theta)) << theta;
  }
}

// Long times: 2 pi nFDCl / ln(64 Dt/w^2), the leading term of the band's quasi-steady current,
// within its own accuracy (the next term is of order 1/ln^2); the current keeps falling.
TEST(Band, LongTimesDecayLogarithmically) {
  const double w = 1e-4;
  double previous = 1.0;
  for (double theta : {1e2, 1e3, 1e4}) {
    auto m = BandDrop(w, theta * w * w / kD);
    const double current = Drop(*m);
    const double quasiSteady = 2.0 * kPi * kF * kD * kC * kLength / std::log(64.0 * theta);
    EXPECT_NEAR(current / quasiSteady, 1.0, 0.05) << theta;
    EXPECT_LT(current, previous);
    previous = current;
  }
}

TEST(Band, ConvergedOnTheDefaultGrid) {
  const double w = 2e-3;
  for (double theta : {1e-3, 1e-1, 10.0}) {
    auto m = BandDrop(w, theta * w * w / kD);
    const double current = Drop(*m);
    EXPECT_NEAR(current / Drop(*m, 2), 1.0, 0.005) << theta;
  }
}

}  // namespace
}  // namespace qalto
