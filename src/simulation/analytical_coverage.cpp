#include "simulation/analytical_coverage.h"

#include "model/experiment_table.h"
#include "simulation/disc_response.h"
#include "simulation/failure_cause.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {

std::optional<std::string> MissingAnalyticalModel(const Model& model) {
  if (model.DigitalSimulation || model.Technique == Technique::kNone ||
      model.Electrode == Electrode::kNone)
    return std::nullopt;
  // Marcus-Hush kinetics only where the integral equations carry them.
  if (HasMarcusHush(model) && (RowOf(model.Electrode).kernel == KernelShape::kNone ||
                               model.Electrode == Electrode::kMicrodisc)) {
    return SimulationErrorMessage(model, std::string("No analytical model for Marcus-Hush "
                                                     "kinetics at the ") +
                                             RowOf(model.Electrode).name +
                                             ": tick Digital Simulation in the Mechanism window");
  }
  switch (AnalyticalReachOf({model.Technique, model.Electrode})) {
    case AnalyticalReach::kEveryMechanism:
      return std::nullopt;
    case AnalyticalReach::kNernstianCouples:
      if (DiscResponseIsExact(model)) return std::nullopt;
      break;
    case AnalyticalReach::kNone:
      break;
  }
  return SimulationErrorMessage(
      model, std::string("No analytical model for ") + RowOf(model.Technique).name + " at the " +
                 RowOf(model.Electrode).name + ": tick Digital Simulation in the Mechanism window");
}

}  // namespace qalto
