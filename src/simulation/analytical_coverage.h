#pragma once
// Which techniques the analytical simulation can compute at which electrodes. Elsewhere it has no
// closed form and no integral equation (a pulse at a rotating electrode, where the flow and the
// pulse's own layer meet; any technique at a cylinder or a band), and a run is refused with a
// message that names the combination, instead of a curve of zeros.

#include <optional>
#include <string>

#include "model/model.h"

namespace qalto {

// Every technique at the planar, spherical, hemispherical and microdisc electrodes; sweeps and
// DC waves at the rotating disk and the thin film; DC waves at the rotating cylinder and
// hemisphere. Technique 1..6, electrode 1..10.
bool HasAnalyticalModel(int technique, int electrode);

// "Analytical simulation Error: No analytical model for <technique> at the <electrode>: tick
// Digital Simulation in the Mechanism window! Please try again by other initial values." when
// the model simulates analytically a combination without a model; nothing otherwise.
std::optional<std::string> MissingAnalyticalModel(const Model& model);

}  // namespace qalto
