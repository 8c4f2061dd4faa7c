#pragma once
// The digital simulation gives every rotating electrode the flow of the rotating disk, the
// von Karman normal velocity v = -0.51 w^3/2 nu^-1/2 x^2. Only the disk has a one-dimensional
// convective-diffusion problem: the flow past a rotating hemisphere changes with the latitude,
// and a rotating cylinder has no normal flow while laminar and is turbulent in use. The note
// tells how far the real electrode's limiting current lies from the simulated one.

#include <optional>
#include <string>

#include "model/model.h"

namespace qalto {

// One line for the result window after a digital run at a rotating cylinder or hemisphere;
// none for the other electrodes, the analytical simulation, or a rotation rate, radius or
// viscosity that is not positive.
std::optional<std::string> RotatingFlowNote(const Model& model);

}  // namespace qalto
