#pragma once
// The combinations the analytical simulation cannot compute: those whose row of the experiment
// table has no closed form and whose electrode has no integral equation (a pulse at a rotating
// electrode, where the flow and the pulse's own layer meet; any technique at a cylinder or a
// band), and at the microdisc what its step responses do not give exactly (disc_response.h). A
// run there is refused with a message that names the combination, not a curve of zeros.

#include <optional>
#include <string>

#include "model/model.h"

namespace qalto {

// "Analytical simulation Error: No analytical model for <technique> at the <electrode>: tick
// Digital Simulation in the Mechanism window! Please try again by other initial values." when
// the model simulates analytically a combination without a model; nothing otherwise.
std::optional<std::string> MissingAnalyticalModel(const Model& model);

}  // namespace qalto
