// The closed forms of every technique at every electrode that has one, through the whole driver
// with slow electron transfer (Koutecky's step response is exact at any rate), checked against
// the textbook responses evaluated here independently: exp(x^2) erfc(x) from the standard library,
// every sum term by term, with an uneven alpha, B in the solution and unequal diffusion
// coefficients so that a swapped argument shows.

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
  double kf = model.ChargeKs(1) * std::exp(-kAlpha * theta);
  double kb = model.ChargeKs(1) * std::exp((1 - kAlpha) * theta);
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
  const SimulationOutcome outcome = RunSimulation(model, SimulationInputs{});
  ASSERT_TRUE(outcome.Done()) << outcome.failure->message;
  std::vector<double> want(1, 0.0);
  double largest = 0;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    want.push_back(expected(i));
    largest = std::max(largest, std::fabs(want.back()));
  }
  ASSERT_GT(largest, 0.0);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    EXPECT_NEAR(model.CurrentY(i, 1), want[static_cast<size_t>(i)], kTolerance * largest)
        << "point " << i << " at " << model.PotentialX(i) << " V";
}

// Koutecky-Levich at the rotating disk: (kf CO - kb CR) / (1 + kf / mO + kb / mR), with the
// mass-transfer coefficients m = 0.62045 D^2/3 w^1/2 nu^-1/6 of O and R, cm/s.
double RotatingDisk(const Model& model, double E, double E0) {
  Kinetics k = At(model, E, E0);
  double kb = k.kf * std::exp(model.FOverRT * (E - E0));
  auto m = [&](double D) {
    return 0.62045 * std::pow(D, 2.0 / 3.0) * std::sqrt(model.RotationRate) *
           std::pow(model.KinematicViscosity, -1.0 / 6.0);
  };
  return k.phi / (1 + k.kf / m(kRunD) + kb / m(kDR));
}

// What each technique at each electrode samples, by its textbook response: the step from the
// bulk at the drop time (DC) or from rest at the pulse (normal pulse, the wave shifted by the
// pulse height), the steady wave of the rotating disk, and the differential pulse as the pulse's
// step less the drop's, f(E + P, tp) - f(E, tp) + f(E, td) - f(E, td - tp).
enum class Response {
  kPlanarDrop,
  kSphericalDrop,
  kRotatingDisk,
  kPlanarPulse,
  kSphericalPulse,
  kPlanarDifference,
  kSphericalDifference
};

struct ClosedFormCase {
  int technique;
  int electrode;
  Response response;
};

double Expected(const Model& m, Response response, double E) {
  const double td = m.DropTime, tp = m.PulseTime, P = m.PulsePotential;
  auto difference = [&](auto f) {
    return f(m, E + P, kRunE0, tp) - f(m, E, kRunE0, tp) + f(m, E, kRunE0, td) -
           f(m, E, kRunE0, td - tp);
  };
  switch (response) {
    case Response::kPlanarDrop:
      return Planar(m, E, kRunE0, td);
    case Response::kSphericalDrop:
      return Spherical(m, E, kRunE0, td);
    case Response::kRotatingDisk:
      return RotatingDisk(m, E, kRunE0);
    case Response::kPlanarPulse:
      return Planar(m, E, kRunE0 - P, tp);
    case Response::kSphericalPulse:
      return Spherical(m, E, kRunE0 - P, tp);
    case Response::kPlanarDifference:
      return difference(Planar);
    case Response::kSphericalDifference:
      return difference(Spherical);
  }
  return NAN;
}

class ClosedForms : public ::testing::TestWithParam<ClosedFormCase> {};

// Every combination with a closed form runs the one its geometry and technique call for: the
// sphere and hemisphere the spherical one (the microdisc has its own step response:
// analytical_microdisc_test; the thin film its integral equation: thin_layer_test). The
// differential pulse takes its closed form only for a fast couple.
TEST_P(ClosedForms, EveryCombinationSamplesItsTextbookResponse) {
  const ClosedFormCase c = GetParam();
  Model model = SlowModel(c.technique, c.electrode, 0.5);
  if (c.technique == 4) model.ChargeKs(1) = 1e3;
  ExpectCurve(model,
              [&](int i) { return AF(model) * Expected(model, c.response, model.PotentialX(i)); });
}

using R = Response;
const ClosedFormCase kClosedForms[] = {
    {2, 1, R::kPlanarDrop},         {2, 2, R::kSphericalDrop},    {2, 3, R::kSphericalDrop},
    {2, 8, R::kRotatingDisk},       {3, 1, R::kPlanarPulse},      {3, 2, R::kSphericalPulse},
    {3, 3, R::kSphericalPulse},     {4, 1, R::kPlanarDifference}, {4, 2, R::kSphericalDifference},
    {4, 3, R::kSphericalDifference}};
INSTANTIATE_TEST_SUITE_P(Table, ClosedForms, ::testing::ValuesIn(kClosedForms),
                         [](const auto& info) {
                           return "Technique" + std::to_string(info.param.technique) + "Electrode" +
                                  std::to_string(info.param.electrode);
                         });

}  // namespace
}  // namespace qalto
