#include "simulation/rotating_flow_note.h"

#include <cmath>

#include "common/number_format.h"

namespace qalto {

namespace {

constexpr double kLevich = 0.62045;  // disk: k = 0.62045 D^2/3 w^1/2 nu^-1/6, cm/s
// Chin (1971): the mean mass-transfer coefficient over a rotating hemisphere is
// 0.474 D^2/3 w^1/2 nu^-1/6, the pole alone having the disk's 0.620.
constexpr double kHemisphereMean = 0.474;
// Eisenberg, Tobias and Wilke (1954), turbulent flow at a rotating cylinder of diameter d and
// peripheral velocity U: k = 0.0791 U^0.7 d^-0.3 nu^-0.344 D^0.644, from Re = U d / nu ~ 200.
constexpr double kEisenberg = 0.0791;
constexpr double kTurbulentFrom = 200.0;

}  // namespace

std::optional<std::string> RotatingFlowNote(const Model& model) {
  const Electrode electrode = model.Electrode;
  if (!model.DigitalSimulation) return std::nullopt;
  if (electrode != Electrode::kRotatingCylinder && electrode != Electrode::kRotatingHemisphere)
    return std::nullopt;
  const double w = model.RotationRate;         // rad/s
  const double nu = model.KinematicViscosity;  // cm2/s
  const double r = model.Radius;               // cm
  const double D = model.SpeciesD(1);          // cm2/s, the species of the first wave
  if (!(w > 0.0) || !(nu > 0.0) || !(r > 0.0) || !(D > 0.0)) return std::nullopt;
  const double levich = kLevich * std::pow(D, 2.0 / 3.0) * std::sqrt(w) * std::pow(nu, -1.0 / 6.0);
  if (electrode == Electrode::kRotatingHemisphere) {
    return "Rotating hemisphere: simulated with the flow at its pole; the mean over the "
           "hemisphere (Chin) is " +
           FormatNumber(kHemisphereMean / kLevich, "0.##") + " x this limiting current";
  }
  const double U = w * r;  // peripheral velocity, cm/s
  const double d = 2.0 * r;
  const double eisenberg =
      kEisenberg * std::pow(U, 0.7) * std::pow(d, -0.3) * std::pow(nu, -0.344) * std::pow(D, 0.644);
  const long Re = std::lround(U * d / nu);
  return "Rotating cylinder: simulated with a disk's flow; turbulent flow (Eisenberg, Re " +
         std::to_string(Re) + ", from about " + std::to_string(std::lround(kTurbulentFrom)) +
         ") gives " + FormatNumber(eisenberg / levich, "0.##") + " x this limiting current";
}

}  // namespace qalto
