#pragma once
// How far a digital simulation is from its converged result: the same run on a grid with half
// the first box and half the expansion factor and with every time step halved, compared point
// by point with the run as it stands.

#include <optional>

#include "simulation/simulation_driver.h"

namespace qalto {

// The largest difference between the total currents of the two runs, as a fraction of the
// largest current (in magnitude) of the normal run; nothing when either run failed (its message
// has been shown) or the curve carries no current. Works on copies: the model is not changed.
std::optional<double> DigitalRefinementChange(const Model& model, const SimulationInputs& inputs,
                                              Platform& platform);

}  // namespace qalto
