#include "fit/evaluate_model.h"

#include "fit/ac_fit_harmonics.h"
#include "fit/fit_parameters.h"

namespace qalto {

void EvaluateModel(Model& model, const SimulationInputs& inputs, const MessageSink& onMessage,
                   const std::vector<double>& t, std::vector<double>& f) {
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    // Code 0: a parameter of another curve of a global fit.
    if (model.FitParameterCode(p) == 0) continue;
    FittedField(model, model.FitParameterCode(p)) = t[static_cast<size_t>(p)];
  }
  const SimulationOutcome outcome = RunSimulation(model, inputs);
  if (onMessage) {
    for (const std::string& message : outcome.messages)
      onMessage(message);
  }
  if (outcome.failure) throw SimulationFailed(outcome.failure->message);
  SimulatedValues(model, f);
}

}  // namespace qalto
