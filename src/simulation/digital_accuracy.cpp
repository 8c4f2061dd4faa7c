#include "simulation/digital_accuracy.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace qalto {

namespace {

// The run without noise or fit mode, at the given refinement; nothing if it failed.
std::unique_ptr<Model> RunCopy(const Model& model, SimulationInputs inputs, int refinement,
                               Platform& platform) {
  auto copy = std::make_unique<Model>(WorkingCopy(model));
  copy->NoiseLevel = 0;
  copy->FitMode = false;
  inputs.refinement = refinement;
  if (!RunSimulation(*copy, inputs, platform)) return nullptr;
  return copy;
}

}  // namespace

std::optional<double> DigitalRefinementChange(const Model& model, const SimulationInputs& inputs,
                                              Platform& platform) {
  const auto normal = RunCopy(model, inputs, 1, platform);
  if (!normal) return std::nullopt;
  const auto fine = RunCopy(model, inputs, 2, platform);
  if (!fine) return std::nullopt;
  const int column = normal->TotalCurrentColumn;
  double peak = 0.0;        // A
  double difference = 0.0;  // A
  for (int i = 1; i <= normal->NumberOfPoints; ++i) {
    const double a = normal->ReactionCurrents(i, column);
    const double b = fine->ReactionCurrents(i, column);
    peak = std::max(peak, std::abs(a));
    difference = std::max(difference, std::abs(a - b));
  }
  if (!(peak > 0.0)) return std::nullopt;
  return difference / peak;
}

}  // namespace qalto
