// The digital microdisc on its own two-dimensional grid against the disc's textbook currents:
// the converged diffusion-limited transient, Aoki's peak currents of cyclic voltammetry, and runs
// on a grid and time steps twice as fine. The slow cycle's steady wave 4nFDCa with its half-wave
// potential at E0: the scenario digital_microdisc.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "common/curve_peak.h"
#include "common/error_description.h"
#include "common/test_names.h"
#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"

namespace qalto {
namespace {

using curve_test::Total;
using namespace digital_test;

// A + e = B at a disc of radius a (the model holds the radius 2a/pi of the hemisphere of the
// same steady state, as the Instrument form sets it).
std::unique_ptr<Model> Disc(double a) {
  auto m = PlanarReduction();
  m->Electrode = Electrode::kMicrodisc;
  m->Radius = 2.0 * a / kPi;
  m->ElectrodeArea = 8.0 * a * a / kPi;
  return m;
}

double SteadyState(double a) {
  return 4.0 * kF * kD * kC * a;
}

// i = 4nFDCa f(tau), tau = 4Dt/a^2, at a potential step to the diffusion limit: f from two
// grids and Richardson extrapolation of an independent solver.
struct Transient {
  double tau;
  double f;
};

class DiscTransient : public ::testing::TestWithParam<Transient> {};

TEST_P(DiscTransient, FollowsTheConvergedDiscCurrent) {
  const double a = 5e-4;
  auto m = LimitingDrops(4, 2.0 * a / kPi, GetParam().tau * a * a / (4.0 * kD));
  m->ElectrodeArea = 8.0 * a * a / kPi;
  Simulate(*m);
  const double f = Total(*m, 1) / SteadyState(a);
  EXPECT_NEAR(f / GetParam().f, 1.0, 0.002) << f;
}

INSTANTIATE_TEST_SUITE_P(Times, DiscTransient,
                         ::testing::Values(Transient{0.01, 9.6583}, Transient{0.1, 3.6205},
                                           Transient{1.0, 1.7605}, Transient{10.0, 1.2289},
                                           Transient{100.0, 1.0719}, Transient{1000.0, 1.0227}),
                         [](const auto& info) {  // "Tau001": tau 0.01
                           return WordsAsName("tau " + testing::PrintToString(info.param.tau));
                         });

// Reversible cyclic voltammetry across the range of radii and scan rates: the peak within 0.5 %
// of a run on a grid and time steps twice as fine, and of Aoki's interpolation
//   ip = 4nFDCa (0.34 e^-0.66p + 0.66 - 0.13 e^-11/p + 0.351 p),  p = a sqrt(Fv/(RTD)),
// within its own accuracy of about 1.5 %.
struct Scan {
  double a;  // cm
  double v;  // V/s
};

class DiscSweep : public ::testing::TestWithParam<Scan> {};

TEST_P(DiscSweep, PeakIsConvergedAndFollowsAoki) {
  const auto [a, v] = GetParam();
  auto m = Disc(a);
  m->ChargeKs(1) = 1e4;
  m->ScanRate = v;
  m->DropTime = m->PotentialStep / v;
  Simulate(*m);
  const double peak = curve_test::TotalPeak(*m, 2, m->SweepPoints - 1).I;
  Simulate(*m, 2);
  EXPECT_NEAR(peak / curve_test::TotalPeak(*m, 2, m->SweepPoints - 1).I, 1.0, 0.005);
  const double p = a * std::sqrt(m->FOverRT * v / kD);
  const double aoki =
      SteadyState(a) * (0.34 * std::exp(-0.66 * p) + 0.66 - 0.13 * std::exp(-11.0 / p) + 0.351 * p);
  EXPECT_NEAR(peak / aoki, 1.0, 0.015) << p;
}

INSTANTIATE_TEST_SUITE_P(RadiiAndRates, DiscSweep,
                         ::testing::Values(Scan{1e-4, 0.001}, Scan{1e-3, 1.0}, Scan{1e-4, 1000.0},
                                           Scan{0.05, 0.001}, Scan{0.05, 1000.0}),
                         [](const auto& info) {
                           return std::to_string(static_cast<int>(info.param.a * 1e4)) + "um" +
                                  std::to_string(static_cast<int>(info.param.v * 1e3)) + "mVps";
                         });

// The catalytic plateau lies between the disc's planar part pi a^2 nFC sqrt(Dk) and that plus
// the steady edge current 4nFDCa, and a finer run agrees with it.
TEST(Microdisc, CatalyticPlateauBetweenPlanarAndEdge) {
  const double a = 2.5e-3;
  const double k = 100.0;
  auto m = Disc(a);
  m->Mechanism = 8;
  AddFirstOrderReaction(*m, 2, 1, k);
  Simulate(*m);
  const double plateau = Total(*m, m->NumberOfPoints);
  const double planar = kPi * a * a * kF * kC * std::sqrt(kD * k);
  EXPECT_GT(plateau, planar);
  EXPECT_LT(plateau, planar + SteadyState(a));
  Simulate(*m, 2);
  EXPECT_NEAR(plateau / Total(*m, m->NumberOfPoints), 1.0, 0.005);
}

TEST(Microdisc, SecondOrderReactionIsRefusedByName) {
  auto m = Disc(5e-4);
  m->SpeciesCount = 4;
  m->SpeciesD(3) = kD;
  m->SpeciesD(4) = kD;
  AddSecondOrderReaction(*m, 2, 2, 3, 4, 0.0);
  EXPECT_NE(ErrorDescription([&] { Simulate(*m); }).find("second-order reactions"),
            std::string::npos);
}

}  // namespace
}  // namespace qalto
