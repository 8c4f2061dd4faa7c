#include "simulation/rotating_flow_note.h"

#include <cmath>

#include "common/number_format.h"
#include "digital/rotating_flow.h"

namespace qalto {

namespace {

// The turbulent correlation holds from Re = U d / nu of about 200 (the flow is not yet turbulent
// below) to about 100000.
constexpr double kTurbulentFrom = 200.0;
constexpr double kTurbulentTo = 100000.0;
// The curvature the thin-layer correlation leaves out adds about D / (k r) to the flux: named
// from 2 % on.
constexpr double kThinLayer = 0.02;

std::string CylinderNote(const Model& model) {
  const double Re = CylinderReynolds(model);
  std::string line =
      "Rotating cylinder: turbulent mass transfer of Eisenberg, Tobias and Wilke, k = 0.0791 "
      "U^0.7 d^-0.3 nu^-0.344 D^0.644, for Re = U d / nu from 200 to 100000";
  if (Re < kTurbulentFrom || Re > kTurbulentTo) {
    line += "; here Re is " + std::to_string(std::lround(Re)) + ", outside it";
  }
  return line + ".";
}

std::string HemisphereNote(const Model& model) {
  const double D = model.SpeciesD(1);  // cm2/s, the species of the first wave
  const double layer = D / SteadyMassTransfer(FlowCoefficient(model), D);  // D / k, cm
  std::string line =
      "Rotating hemisphere: Chin's mean mass transfer over 2 pi r^2, k = 0.474 D^2/3 w^1/2 "
      "nu^-1/6, for laminar flow and a diffusion layer D / k thin against the radius";
  if (layer > kThinLayer * model.Radius) {
    line += "; here it is " + FormatNumber(100.0 * layer / model.Radius, "0.##") + " % of it";
  }
  return line + ".";
}

}  // namespace

std::optional<std::string> RotatingFlowNote(const Model& model) {
  const RotatingGeometry geometry = RotatingGeometryOf(model.Electrode);
  if (geometry != RotatingGeometry::kCylinder && geometry != RotatingGeometry::kHemisphere) {
    return std::nullopt;
  }
  if (!(model.RotationRate > 0.0) || !(model.KinematicViscosity > 0.0) || !(model.Radius > 0.0) ||
      !(model.SpeciesD(1) > 0.0)) {
    return std::nullopt;
  }
  return geometry == RotatingGeometry::kCylinder ? CylinderNote(model) : HemisphereNote(model);
}

}  // namespace qalto
