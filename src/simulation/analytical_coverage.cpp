#include "simulation/analytical_coverage.h"

#include <array>

#include "model/experiment_table.h"
#include "simulation/disc_response.h"
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

std::optional<std::string> MissingAnalyticalModel(const Model& model) {
  const int technique = Number(model.Technique);
  const int electrode = Number(model.Electrode);
  if (model.DigitalSimulation || model.Technique == Technique::kNone ||
      model.Electrode == Electrode::kNone)
    return std::nullopt;
  // At the microdisc only what the disc's step responses give exactly.
  const bool disc = model.Electrode == Electrode::kMicrodisc;
  if (disc ? DiscResponseIsExact(model) : HasAnalyticalCurrent({model.Technique, model.Electrode}))
    return std::nullopt;
  return SimulationErrorMessage(model, std::string("No analytical model for ") +
                                           kTechniqueNames[static_cast<size_t>(technique - 1)] +
                                           " at the " +
                                           kElectrodeNames[static_cast<size_t>(electrode - 1)] +
                                           ": tick Digital Simulation in the Mechanism window");
}

}  // namespace qalto
