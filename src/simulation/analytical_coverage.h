#pragma once
// Which techniques the analytical simulation can compute at which electrodes. Elsewhere it has no
// closed form and no integral equation (the experiment table) (a pulse at a rotating electrode,
// where the flow and the pulse's own layer meet; any technique at a cylinder or a band), and a run
// is refused with a message that names the combination, instead of a curve of zeros.

#include <optional>
#include <string>

#include "model/model.h"

namespace qalto {

// "Analytical simulation Error: No analytical model for <technique> at the <electrode>: tick
// Digital Simulation in the Mechanism window! Please try again by other initial values." when
// the model simulates analytically a combination without a model; nothing otherwise.
std::optional<std::string> MissingAnalyticalModel(const Model& model);

}  // namespace qalto
