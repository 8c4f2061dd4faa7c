// Slow electron transfer through the whole driver in the normal pulse, whose closed form (the
// step response from rest, Koutecky) is exact at any rate, checked against it, evaluated
// here independently: exp(x^2) erfc(x) from the standard library, every sum term by term, with an
// uneven alpha, B in the solution and unequal diffusion coefficients so that a swapped
// argument shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "common/constants.h"
#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/potential_axis.h"
#include "simulation/simulation_driver.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

constexpr double kCR = 2e-4;      // bulk concentration of B, M
constexpr double kDR = 0.5e-5;    // diffusion coefficient of B, cm2/s
constexpr double kKs = 1e-3;      // cm/s: quasi-reversible at these times
constexpr double kAlpha = 0.3;    // transfer coefficient
constexpr double kRadius = 5e-3;  // cm, small enough for the sphere to matter
// The expansions of exp(x^2) erfc(x) in the program hold 1e-6; the sums and differences of the
// superposition lose a little of that.
constexpr double kTolerance = 1e-5;  // relative to the largest current of the curve

// exp(x^2) erfc(x); beyond x = 3 by Laplace's continued fraction, where exp(x^2) would soon
// overflow (200 terms: exact to double precision there).
double W(double x) {
  if (x < 3) return std::exp(x * x) * std::erfc(x);
  double tail = 0;
  for (int n = 200; n >= 1; --n)
    tail = (n / 2.0) / (x + tail);
  return 1 / (std::sqrt(std::numbers::pi) * (x + tail));
}

struct Kinetics {
  double kf = 0;      // reduction rate constant, cm/s
  double lambda = 0;  // kf / sqrt(DO) + kb / sqrt(DR), 1/s^1/2
  double phi = 0;     // n (kf CO - kb CR), M cm/s
};

Kinetics At(const Model& model, double E, double E0) {
  double theta = model.FOverRT * (E - E0);
  double kf = kKs * std::exp(-kAlpha * theta);
  double kb = kKs * std::exp((1 - kAlpha) * theta);
  return {kf, kf / std::sqrt(kRunD) + kb / std::sqrt(kDR), kf * kRunC - kb * kCR};
}

// Current per unit A x F after a step to E, sampled at t: planar and spherical.
double Planar(const Model& model, double E, double E0, double t) {
  Kinetics k = At(model, E, E0);
  return k.phi * W(k.lambda * std::sqrt(t));
}

double Spherical(const Model& model, double E, double E0, double t) {
  Kinetics k = At(model, E, E0);
  double s = std::sqrt(kRunD) / model.Radius;
  double rho = s / (k.lambda + s);
  return k.phi * ((1 - rho) * W((k.lambda + s) * std::sqrt(t)) + rho);
}

double AF(const Model& model) {
  return model.ElectrodeArea * kFaraday * 0.001;
}

Model SlowModel(int technique, int electrode, double cycles) {
  Model model = AnalyticalRunModel(technique, electrode);
  model.ChargeKs(1) = kKs;
  model.ChargeAlpha(1) = kAlpha;
  model.SpeciesC(2) = kCR;
  model.SpeciesD(2) = kDR;
  model.Radius = kRadius;
  model.ElectrodeArea = 4 * kPi * kRadius * kRadius;
  model.PotentialStep = 0.002;
  model.DropTime = 0.5;
  model.ScanCycles = cycles;
  model.SweepDirection = -1;
  BuildPotentialAxis(model);  // the axis the driver builds, known before the run
  return model;
}

// Runs the driver and compares its curve, point by point, with the expected one.
void ExpectCurve(Model& model, const std::function<double(int)>& expected) {
  RecordingPlatform platform;
  RunSimulation(model, SimulationInputs{}, platform);
  ASSERT_TRUE(platform.messages.empty()) << platform.messages.front();
  int N = model.NumberOfPoints;
  std::vector<double> want(static_cast<size_t>(N) + 1);
  double largest = 0;
  for (int i = 1; i <= N; ++i) {
    want[static_cast<size_t>(i)] = expected(i);
    largest = std::max(largest, std::fabs(want[static_cast<size_t>(i)]));
  }
  ASSERT_GT(largest, 0.0);
  for (int i = 1; i <= N; ++i) {
    EXPECT_NEAR(model.CurrentY(i, 1), want[static_cast<size_t>(i)], kTolerance * largest)
        << "point " << i << " at " << model.PotentialX(i) << " V";
  }
}

TEST(SlowTransferSuperposition, NormalPulseSamplesThePulseShiftedByItsHeight) {
  // The wave is reported at the base potential: the step goes to E + P.
  Model model = SlowModel(3, 1, 0.5);
  ExpectCurve(model, [&](int i) {
    return AF(model) *
           Planar(model, model.PotentialX(i), kRunE0 - model.PulsePotential, model.PulseTime);
  });
  Model sphere = SlowModel(3, 2, 0.5);
  ExpectCurve(sphere, [&](int i) {
    return AF(sphere) * Spherical(sphere, sphere.PotentialX(i), kRunE0 - sphere.PulsePotential,
                                  sphere.PulseTime);
  });
}

}  // namespace
}  // namespace qalto
