#include "digital/rotating_flow.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"

namespace qalto {
namespace {

constexpr double kLevichVelocity = 0.51023;  // disk: a = 0.51023 w^3/2 nu^-1/2
// Chin: the mean k_m over a rotating hemisphere, 0.474 D^2/3 w^1/2 nu^-1/6; the pole has the
// disk's local rate.
constexpr double kHemisphereMean = 0.474;
constexpr double kEisenberg = 0.0791;  // Stanton number k_m / U = 0.0791 Re^-0.30 Sc^-0.644
constexpr double kGammaFourThirds = 0.8929795115692492;  // Gamma(4/3)

double DiskFlow(const Model& m) {
  return Div(kLevichVelocity * Pow(m.RotationRate, 1.5), Sqrt(m.KinematicViscosity));
}

// k_m of the rotating cylinder for species 1, cm/s.
double CylinderMassTransfer(const Model& m) {
  const double U = m.RotationRate * m.Radius;  // peripheral velocity, cm/s
  const double d = 2.0 * m.Radius;             // cm
  return kEisenberg * Pow(U, 0.7) * Pow(d, -0.3) * Pow(m.KinematicViscosity, -0.344) *
         Pow(m.SpeciesD(1), 0.644);
}

// a = 3 D (k_m Gamma(4/3) / D)^3 of the flow whose steady flux is k_m for diffusion coefficient D.
double FlowFor(double km, double D) {
  const double q = Div(km * kGammaFourThirds, D);
  return 3.0 * D * q * q * q;
}

}  // namespace

double FlowCoefficient(const Model& m) {
  switch (RotatingGeometryOf(m.Electrode)) {
    case RotatingGeometry::kDisk:
      return DiskFlow(m);
    case RotatingGeometry::kHemisphere: {
      const double ratio = kHemisphereMean / kLevichConstant;  // k_m grows as a^1/3
      return DiskFlow(m) * ratio * ratio * ratio;
    }
    case RotatingGeometry::kCylinder:
      // One velocity for every species, as the solution has one: fitted to species 1, another
      // species' k follows D^2/3 instead of the correlation's D^0.644 (1.6 % at twice the D).
      return FlowFor(CylinderMassTransfer(m), m.SpeciesD(1));
    case RotatingGeometry::kNone:
      break;
  }
  return 0.0;
}

double SteadyMassTransfer(double a, double D) {
  return Div(D, kGammaFourThirds * std::cbrt(Div(3.0 * D, a)));
}

double LayerScale(const Model& m) {
  if (RotatingGeometryOf(m.Electrode) == RotatingGeometry::kDisk) return 1.0;
  return std::cbrt(Div(DiskFlow(m), FlowCoefficient(m)));
}

double CylinderReynolds(const Model& m) {
  return Div(2.0 * m.RotationRate * m.Radius * m.Radius, m.KinematicViscosity);
}

}  // namespace qalto
