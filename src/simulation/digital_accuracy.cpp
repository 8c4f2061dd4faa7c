#include "simulation/digital_accuracy.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace qalto {

namespace {

// The run without noise or fit mode, at the given refinement; nothing if it failed. Its
// messages join the others.
std::unique_ptr<Model> RunCopy(const Model& model, SimulationInputs inputs, int refinement,
                               std::vector<std::string>& messages) {
  auto copy = std::make_unique<Model>(WorkingCopy(model));
  copy->NoiseLevel = 0;
  copy->FitMode = false;
  inputs.refinement = refinement;
  SimulationOutcome outcome = RunSimulation(*copy, inputs);
  messages.insert(messages.end(), outcome.messages.begin(), outcome.messages.end());
  if (outcome.failure) messages.push_back(outcome.failure->message);
  if (!outcome.Done()) return nullptr;
  return copy;
}

}  // namespace

RefinementChange DigitalRefinementChange(const Model& model, const SimulationInputs& inputs) {
  RefinementChange result;
  const auto normal = RunCopy(model, inputs, 1, result.messages);
  if (!normal) return result;
  const auto fine = RunCopy(model, inputs, 2, result.messages);
  if (!fine) return result;
  const int column = normal->TotalCurrentColumn;
  double peak = 0.0;        // A
  double difference = 0.0;  // A
  for (int i = 1; i <= normal->NumberOfPoints; ++i) {
    const double a = normal->ReactionCurrents(i, column);
    const double b = fine->ReactionCurrents(i, column);
    peak = std::max(peak, std::abs(a));
    difference = std::max(difference, std::abs(a - b));
  }
  if (peak > 0.0) result.change = difference / peak;
  return result;
}

}  // namespace qalto
