// Potential steps against the textbook, in both modes: the double step's reverse current,
// Anson's charge line with the double layer's intercept, and the microdisc's steady state (the
// sphere's: curved_default_grid_test). Cottrell's current at a planar electrode from 10 ms to
// 1 s, and its Cottrell and Anson lines with D: the scenario chronoamperometry, in both modes.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/step_analysis.h"
#include "common/constants.h"
#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

constexpr double kC = 1e-6;  // mol/cm3
constexpr double kTolerance = 0.005;

// A + e = B, 1 mM of A, stepped from 0.2 V to 0.4 V past E0 (the diffusion limit) for 10 s,
// sampled every 10 ms.
std::unique_ptr<Model> StepModel(bool digital, Electrode electrode) {
  auto m = std::make_unique<Model>(AnalyticalRunModel(7, Number(electrode)));
  m->DigitalSimulation = digital;
  LimitingStep(*m, 10.0, 0.01);
  return m;
}

double CurrentAt(const Model& m, double t) {
  const int i = static_cast<int>(std::lround(t / m.SampleTime));
  EXPECT_NEAR(m.PotentialX(i), t, 1e-9);
  return m.ReactionCurrents(i, m.TotalCurrentColumn);
}

class StepTest : public testing::TestWithParam<bool> {};

// Back to the start after tau with B stable: -i(2 tau) / i(tau) = 1 - 1/sqrt(2), and the charge
// given back (Q(tau) - Q(2 tau)) / Q(tau) = 2 - sqrt(2).
TEST_P(StepTest, DoubleStepReverseCurrentAndChargeGivenBack) {
  auto m = StepModel(GetParam(), Electrode::kPlanar);
  m->StepTime1 = 1.0;
  m->StepTime2 = 1.0;
  RunToTheEnd(*m);
  ASSERT_EQ(m->NumberOfPoints, 200);
  const double ratio = -CurrentAt(*m, 2.0) / CurrentAt(*m, 1.0);
  EXPECT_NEAR(ratio, 1.0 - 1.0 / std::sqrt(2.0), kTolerance * (1.0 - 1.0 / std::sqrt(2.0)));
  // Halfway through the reverse step: nFAC sqrt(D/pi) (1/sqrt(t - tau) - 1/sqrt(t)).
  const double reverse = Cottrell(0.5) - Cottrell(1.5);
  EXPECT_NEAR(-CurrentAt(*m, 1.5) / reverse, 1.0, kTolerance);
  const double back = (m->PassedCharge(100) - m->PassedCharge(200)) / m->PassedCharge(100);
  EXPECT_NEAR(back / (2.0 - std::sqrt(2.0)), 1.0, 2e-4);
}

// A slow couple (ks 1e-3 cm/s, alpha 0.5) stepped to E0 - 50 mV: nFAC kf e^(H^2 t) erfc(H
// sqrt t), H = kf / sqrt(DO) + kb / sqrt(DR), from the first sample to 1 s.
TEST_P(StepTest, QuasiReversibleStepFollowsTheKineticTransient) {
  auto m = StepModel(GetParam(), Electrode::kPlanar);
  m->ChargeKs(1) = 1e-3;
  m->StepPotential1 = kRunE0 - 0.05;
  m->StepTime1 = 1.0;
  RunToTheEnd(*m);
  const double nf = m->FOverRT * 0.05;
  const double kf = 1e-3 * std::exp(0.5 * nf), kb = 1e-3 * std::exp(-0.5 * nf);
  const double h = (kf + kb) / std::sqrt(kRunD);
  for (double t : {0.01, 0.1, 1.0}) {
    const double x = h * std::sqrt(t);  // e^(x^2) erfc(x) for x up to 3
    const double expected = kFaraday * kC * kf * std::exp(x * x) * std::erfc(x);
    EXPECT_NEAR(CurrentAt(*m, t) / expected, 1.0, 1e-4) << "t = " << t << " s";
  }
}

// Q = 2nFAC sqrt(D t / pi) + Cd |dE|: the slope within 0.5 %, the intercept the double layer's.
TEST_P(StepTest, AnsonLineOfTheCharge) {
  auto m = StepModel(GetParam(), Electrode::kPlanar);
  m->StepTime1 = 1.0;
  m->DoubleLayerCapacitance = 2e-5;  // F, charged at once without a resistance
  RunToTheEnd(*m);
  std::vector<double> time, charge;
  for (int i = 1; i <= m->NumberOfPoints; ++i) {
    time.push_back(m->PotentialX(i));
    charge.push_back(m->PassedCharge(i));
  }
  const double nFAC = kFaraday * kC;
  const StepLineFit fit = AnsonFit(time, charge, nFAC);
  EXPECT_NEAR(fit.slope / (2 * nFAC * std::sqrt(kRunD / kPi)), 1.0, kTolerance);
  const double layer = 2e-5 * (m->StartPotential - m->StepPotential1);  // C
  EXPECT_NEAR(fit.intercept, layer, 0.01 * layer);
  ASSERT_TRUE(fit.diffusion.has_value());
  EXPECT_NEAR(*fit.diffusion / kRunD, 1.0, 2 * kTolerance);
}

// A disc of radius 5 um: 4nFDCa f(tau), tau = 4Dt/a^2, tends to the steady state 4nFDCa with
// f = 1 + 0.71835 tau^-1/2 + 0.05626 tau^-3/2 at long times.
TEST_P(StepTest, MicrodiscReachesItsSteadyState) {
  auto m = StepModel(GetParam(), Electrode::kMicrodisc);
  const double a = 5e-4;  // cm
  m->Radius = 2 * a / kPi;
  m->ElectrodeArea = kTwoPi * m->Radius * m->Radius;
  m->ChargeKs(1) = 1e4;
  m->SampleTime = 0.05;
  RunToTheEnd(*m);
  const double steady = 4 * kFaraday * kC * kRunD * a;
  for (double t : {2.0, 5.0, 10.0}) {
    const double tau = 4 * kRunD * t / (a * a);
    const double f = 1 + 0.71835 / std::sqrt(tau) + 0.05626 / std::pow(tau, 1.5);
    EXPECT_NEAR(CurrentAt(*m, t) / (steady * f), 1.0, kTolerance) << "t = " << t << " s";
  }
  EXPECT_NEAR(CurrentAt(*m, 10.0) / steady, 1.0, 0.02);
}

INSTANTIATE_TEST_SUITE_P(BothModes, StepTest, testing::Bool(), ModeName);

// The analytical model has none at a band or a rotating electrode: refused, with the names;
// no sample time is refused in both modes, naming its box.
TEST(StepRefusal, BandAndZeroSampleTimeAreRefusedByName) {
  auto band = StepModel(false, Electrode::kBand);
  EXPECT_TRUE(RefusedSaying(*band,
                            "No analytical model for chronoamperometry at the band "
                            "electrode"));
  EXPECT_TRUE(RunSimulation(*band, StartInputs()).refused);  // nothing was written
  for (bool digital : {false, true}) {
    auto m = StepModel(digital, Electrode::kPlanar);
    m->SampleTime = 0;
    EXPECT_TRUE(RefusedSaying(*m, "t sample (s) is 0")) << digital;
  }
}

}  // namespace
}  // namespace qalto
