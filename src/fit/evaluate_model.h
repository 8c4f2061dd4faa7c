#pragma once
// The objective of a fit: the simulated curve at a trial parameter set.

#include <stdexcept>
#include <string>
#include <vector>

#include "model/model.h"
#include "simulation/simulation_driver.h"
#include "ui/platform.h"

namespace qalto {

// A simulation inside a fit failed. Its message has been shown already, unless the simulation
// ran on a worker thread: then the message is carried here, for the fit to show it.
class SimulationFailed : public std::runtime_error {
 public:
  SimulationFailed() : std::runtime_error("simulation failed inside a fit") {}
  explicit SimulationFailed(std::string message)
      : std::runtime_error("simulation failed inside a fit"), message_(std::move(message)) {}
  const std::string& UnshownMessage() const { return message_; }

 private:
  std::string message_;
};

// Writes t(p) into the model field named by FitParameterCode(p) for p = 1..FitParameterCount
// (code 0: none, the parameter belongs to another curve),
// runs the simulation over the data's potential axis and copies the simulated curve into
// f(1..NumberOfPoints). Throws SimulationFailed when the simulation reported an error.
void EvaluateModel(Model& model, const SimulationInputs& inputs, Platform& platform,
                   const std::vector<double>& t, std::vector<double>& f);

}  // namespace qalto
