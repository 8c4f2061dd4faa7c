// The digital simulation at curved electrodes of 10 um on the default grid (Expanding grid 0.5),
// where the diffusion layer is about as thick as the radius, against references computed apart
// from it: the reversible sweep at a sphere against the analytical model (the planar wave plus
// the spherical term, exact for equal D; a hemisphere takes the sphere's grid and kernel, only
// its area differs), the diffusion-limited step at a sphere (in both modes) against nFADC
// (1 / sqrt(pi D t) + 1 / r), and at a cylinder against its Laplace transform
// nFDC q K1(qr) / (s K0(qr)) per area, q = sqrt(s / D), inverted by Stehfest's sum.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "simulation/analytical_run_model.h"

namespace qalto {
namespace {

constexpr double kRadius = 1e-3;     // cm
constexpr double kC = kRunC * 1e-3;  // mol/cm3
constexpr double kTolerance = 1e-3;  // of the reference at each point

// The reference current at every point 1..NumberOfPoints of the run, A.
using Reference = std::vector<double> (*)(const Model&);

// The current of the time formula at each point of a step.
std::vector<double> AtEveryTime(const Model& m, const std::function<double(double)>& current) {
  std::vector<double> I(m.NumberOfPoints + 1, 0.0);
  for (int i = 1; i <= m.NumberOfPoints; ++i)
    I[i] = current(m.PotentialX(i));
  return I;
}

// Stehfest's weights V(k), k = 1..N, for an even N.
std::vector<double> StehfestWeights(int N) {
  const int half = N / 2;
  const auto factorial = [](int n) { return std::tgamma(n + 1.0); };
  std::vector<double> weights(N + 1, 0.0);
  for (int k = 1; k <= N; ++k) {
    double sum = 0;
    for (int j = (k + 1) / 2; j <= std::min(k, half); ++j)
      sum += std::pow(j, half) * factorial(2 * j) /
             (factorial(half - j) * factorial(j) * factorial(j - 1) * factorial(k - j) *
              factorial(2 * j - k));
    weights[k] = ((k + half) % 2 == 0 ? 1.0 : -1.0) * sum;
  }
  return weights;
}

double CylinderCurrent(double area, double t) {
  static const std::vector<double> weights = StehfestWeights(14);
  const double a = std::log(2.0) / t;
  double sum = 0;
  for (int k = 1; k < static_cast<int>(weights.size()); ++k) {
    const double s = k * a;
    const double q = std::sqrt(s / kRunD);
    sum += weights[k] * kRunD * kC * q * std::cyl_bessel_k(1.0, q * kRadius) /
           (s * std::cyl_bessel_k(0.0, q * kRadius));
  }
  return kFaraday * area * a * sum;
}

std::vector<double> CylinderStep(const Model& m) {
  return AtEveryTime(m, [&](double t) { return CylinderCurrent(m.ElectrodeArea, t); });
}

std::vector<double> SphereStep(const Model& m) {
  return AtEveryTime(m, [&](double t) {
    return kFaraday * m.ElectrodeArea * kRunD * kC *
           (1.0 / std::sqrt(kPi * kRunD * t) + 1.0 / kRadius);
  });
}

std::vector<double> AnalyticalSweep(const Model& m) {
  Model analytical = m;
  SimulateInMode(analytical, false);
  std::vector<double> I(m.NumberOfPoints + 1, 0.0);
  for (int i = 1; i <= m.NumberOfPoints && i <= analytical.NumberOfPoints; ++i)
    I[i] = analytical.CurrentY(i, 1);
  return I;
}

struct CurvedCase {
  const char* name;
  Electrode electrode;
  int technique;  // 1 sweep, 7 step
  Reference reference;
  bool digital = true;  // the analytical mode against the step's formula too
};

Model CaseModel(const CurvedCase& c) {
  Model m = AnalyticalRunModel(c.technique, Number(c.electrode));
  m.Radius = kRadius;
  const double share = c.electrode == Electrode::kHemispherical ? 2.0 : 4.0;
  m.ElectrodeArea = c.electrode == Electrode::kCylindrical ? 2.0 * kPi * kRadius  // 1 cm long
                                                           : share * kPi * kRadius * kRadius;
  if (c.technique == 1) {  // 1 V/s in 1 mV steps
    m.ScanRate = 1.0;
    m.DropTime = m.PotentialStep / m.ScanRate;
  } else {  // from 0.2 V to 0.4 V past E0 for 10 s, sampled every 10 ms
    LimitingStep(m, 10.0, 0.01);
  }
  return m;
}

class CurvedDefaultGrid : public testing::TestWithParam<CurvedCase> {};

// Every point whose reference current is at least a twentieth of the largest.
TEST_P(CurvedDefaultGrid, RunIsWithinATenthOfAPercentOfTheReference) {
  Model m = CaseModel(GetParam());
  SimulateInMode(m, GetParam().digital);
  ASSERT_GT(m.NumberOfPoints, 500);
  const std::vector<double> expected = GetParam().reference(m);
  double largest = 0;
  for (double I : expected)
    largest = std::max(largest, std::fabs(I));
  for (int i = 1; i <= m.NumberOfPoints; ++i) {
    if (std::fabs(expected[i]) < 0.05 * largest) continue;
    EXPECT_NEAR(m.CurrentY(i, 1) / expected[i], 1.0, kTolerance) << "at " << m.PotentialX(i);
  }
}

INSTANTIATE_TEST_SUITE_P(
    TenMicrometres, CurvedDefaultGrid,
    testing::Values(CurvedCase{"SphereSweep", Electrode::kSpherical, 1, AnalyticalSweep},
                    CurvedCase{"SphereStep", Electrode::kSpherical, 7, SphereStep},
                    CurvedCase{"SphereStepAnalytical", Electrode::kSpherical, 7, SphereStep, false},
                    CurvedCase{"CylinderStep", Electrode::kCylindrical, 7, CylinderStep}),
    [](const testing::TestParamInfo<CurvedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qalto
