#pragma once
// The objective of a fit: the simulated curve at a trial parameter set.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/model.h"
#include "simulation/simulation_driver.h"

namespace qalto {

// A simulation inside a fit failed; it carries the failure's message for the fit to return.
class SimulationFailed : public std::runtime_error {
 public:
  explicit SimulationFailed(std::string message)
      : std::runtime_error("simulation failed inside a fit"), message_(std::move(message)) {}
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// Writes t(p) into the model field named by FitParameterCode(p) for p = 1..FitParameterCount
// (code 0: none, the parameter belongs to another curve),
// runs the simulation over the data's potential axis and copies the simulated curve into
// f(1..NumberOfPoints) (an AC voltammogram's chosen envelopes: ac_fit_harmonics.h). The messages of
// the run's own solver tally go to onMessage (none when it is empty). Throws SimulationFailed when
// the simulation failed.
using MessageSink = std::function<void(const std::string& message)>;
void EvaluateModel(Model& model, const SimulationInputs& inputs, const MessageSink& onMessage,
                   const std::vector<double>& t, std::vector<double>& f);

}  // namespace qalto
