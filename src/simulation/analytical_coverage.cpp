#include "simulation/analytical_coverage.h"

#include <array>

#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

constexpr std::array<const char*, 6> kTechniqueNames = {"linear sweep and cyclic voltammetry",
                                                        "DC voltammetry",
                                                        "normal pulse voltammetry",
                                                        "differential pulse voltammetry",
                                                        "square wave voltammetry",
                                                        "addition square wave voltammetry"};

constexpr std::array<const char*, 10> kElectrodeNames = {"planar electrode",
                                                         "spherical electrode",
                                                         "hemispherical electrode",
                                                         "microdisc",
                                                         "cylindrical electrode",
                                                         "rotating cylindrical electrode",
                                                         "rotating hemispherical electrode",
                                                         "rotating disk",
                                                         "thin film",
                                                         "band electrode"};

}  // namespace

bool HasAnalyticalModel(int technique, int electrode) {
  if (technique < 1 || technique > 6) return false;
  switch (electrode) {
    case 1:
    case 2:
    case 3:
    case 4:
      return true;
    case 8:
    case 9:
      return technique <= 2;
    case 6:
    case 7:
      return technique == 2;
    default:
      return false;
  }
}

std::optional<std::string> MissingAnalyticalModel(const Model& model) {
  const int technique = model.Technique;
  const int electrode = model.Electrode;
  if (model.DigitalSimulation || HasAnalyticalModel(technique, electrode)) return std::nullopt;
  if (technique < 1 || technique > 6 || electrode < 1 || electrode > 10) return std::nullopt;
  return SimulationErrorMessage(model, std::string("No analytical model for ") +
                                           kTechniqueNames[static_cast<size_t>(technique - 1)] +
                                           " at the " +
                                           kElectrodeNames[static_cast<size_t>(electrode - 1)] +
                                           ": tick Digital Simulation in the Mechanism window");
}

}  // namespace qalto
