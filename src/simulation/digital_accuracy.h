#pragma once
// How far a digital simulation is from its converged result: the same run on a grid with half
// the first box and half the expansion factor and with every time step halved, compared point
// by point with the run as it stands.

#include <optional>
#include <string>
#include <vector>

#include "simulation/simulation_driver.h"

namespace qalto {

// The largest difference between the total currents of the two runs, as a fraction of the
// largest current (in magnitude) of the normal run; nothing when either run failed or the curve
// carries no current. messages are those of the runs, in the order they ran.
struct RefinementChange {
  std::optional<double> change;
  std::vector<std::string> messages;
};

// Works on copies: the model is not changed.
RefinementChange DigitalRefinementChange(const Model& model, const SimulationInputs& inputs);

}  // namespace qalto
