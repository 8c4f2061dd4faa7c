// The analytical microdisc: the disc's step response against the converged values of the
// textbook, every technique against the digital simulation of the disc on its own grid, and the
// refusal of what the step responses do not give exactly. A DC drop on the plateau carrying the
// disc's own transient 4nFDCa f(4Dt/a^2), at tau 20, 80 and 16000: the scenario
// analytical_dc_microdisc.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "model/model.h"
#include "simulation/analytical_coverage.h"
#include "simulation/analytical_run_model.h"
#include "simulation/disc_transient.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

// f(tau) from two grids and Richardson extrapolation of an independent solver.
TEST(DiscTransient, ConvergedValuesAndBothAsymptotes) {
  const double converged[][2] = {{0.001, 28.8130}, {0.01, 9.6583}, {0.1, 3.6205}, {1, 1.7605},
                                 {10, 1.2289},     {100, 1.0719},  {1000, 1.0227}};
  for (const auto& [tau, f] : converged)
    EXPECT_NEAR(DiscTransient(tau) / f, 1.0, 5e-5) << tau;
  for (double tau : {1e-7, 1e-5, 2e-4}) {
    const double planarAndEdge = 0.5 * std::sqrt(std::numbers::pi / tau) + std::numbers::pi / 4.0;
    EXPECT_NEAR(DiscTransient(tau) / planarAndEdge, 1.0, 5e-5) << tau;
  }
  for (double tau : {5e3, 2e4, 1e7}) {
    const double steady = 1.0 + 0.71835 / std::sqrt(tau) + 0.05626 / std::pow(tau, 1.5);
    EXPECT_NEAR(DiscTransient(tau) / steady, 1.0, 5e-5) << tau;
  }
}

// The integral's derivative is f, across the table's nodes and both of its ends.
TEST(DiscTransient, IntegralGrowsAsTheTransient) {
  EXPECT_EQ(DiscTransientIntegral(0.0), 0.0);
  for (double tau : {3e-5, 1e-4, 0.0123, 0.1, 1.0, 37.0, 1e4, 3e5}) {
    const double h = 1e-4 * tau;
    const double slope =
        (DiscTransientIntegral(tau + h) - DiscTransientIntegral(tau - h)) / (2 * h);
    EXPECT_NEAR(slope / DiscTransient(tau), 1.0, 1e-5) << tau;
  }
}

// Mechanism 1 at a disc of radius a: the model holds the radius 2a/pi, as the Instrument form
// sets it.
Model DiscModel(int technique, double a) {
  Model m = AnalyticalRunModel(technique, 4);
  m.Radius = 2.0 * a / std::numbers::pi;
  m.ElectrodeArea = 8.0 * a * a / std::numbers::pi;
  m.ChargeKs(1) = 1e4;
  return m;
}

struct DiscCase {
  std::string name;
  int technique;
  double a;     // cm
  double rate;  // V/s
};

class AnalyticalDiscAgainstDigital : public ::testing::TestWithParam<DiscCase> {};

// The same curve in both modes within 0.5 % of its largest current at every point.
TEST_P(AnalyticalDiscAgainstDigital, AgreeAtEveryPoint) {
  Model model = DiscModel(GetParam().technique, GetParam().a);
  model.ScanRate = GetParam().rate;
  model.DropTime = GetParam().technique == 1 ? 0.001 / GetParam().rate : 0.5;
  model.ScanCycles = 1;
  EXPECT_TRUE(ModesAgree(model));
}

const DiscCase kDiscCases[] = {
    {"Cycle10um1Vps", 1, 1e-3, 1.0},   {"Cycle1mm100Vps", 1, 0.05, 100.0},
    {"Cycle5um10mVps", 1, 5e-4, 0.01}, {"Dc", 2, 2.5e-3, 0.1},
    {"NormalPulse", 3, 2.5e-3, 0.1},   {"DifferentialPulse", 4, 2.5e-3, 0.1},
    {"SquareWave", 5, 2.5e-3, 0.1},    {"AdditiveSquareWave", 6, 2.5e-3, 0.1}};
INSTANTIATE_TEST_SUITE_P(Techniques, AnalyticalDiscAgainstDigital, ::testing::ValuesIn(kDiscCases),
                         NameFrom<&DiscCase::name>());

// What the step responses cannot give is refused by name; the Nernstian couple is not.
TEST(AnalyticalMicrodisc, RefusesWhatIsNotExact) {
  const std::string refusal =
      "No analytical model for linear sweep and cyclic voltammetry at the microdisc: tick "
      "Digital Simulation in the Mechanism window";
  Model m = DiscModel(1, 5e-4);
  EXPECT_FALSE(MissingAnalyticalModel(m).has_value());
  Model slow = m;
  slow.ChargeKs(1) = 0.01;
  Model unequal = m;
  unequal.SpeciesD(2) = 2e-5;
  Model drop = m;
  drop.UncompensatedResistance = 100;
  Model following = m;
  following.Mechanism = 7;
  following.FirstOrderReactionCount = 1;
  for (const Model* refused : {&slow, &unequal, &drop, &following}) {
    const auto message = MissingAnalyticalModel(*refused);
    ASSERT_TRUE(message.has_value());
    EXPECT_NE(message->find(refusal), std::string::npos) << *message;
  }
}

}  // namespace
}  // namespace qalto
