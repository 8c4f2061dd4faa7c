#pragma once
// What a run at a rotating cylinder or hemisphere solves, in one line: both simulations give
// these electrodes a one-dimensional layer whose steady flux is the geometry's accepted
// mass-transfer coefficient (digital/rotating_flow.h), a correlation with a range of validity.
// The disk's Levich flow is exact and needs no note.

#include <optional>
#include <string>

#include "model/model.h"

namespace qalto {

// One line for the result window after a run at a rotating cylinder (its correlation, its
// Reynolds range and, outside that range, the run's Reynolds number) or hemisphere (its
// correlation, valid while the diffusion layer D / k is thin against the radius; the layer is
// named when it is not); none for the other electrodes or a rotation rate, radius, viscosity or
// diffusion coefficient that is not positive.
std::optional<std::string> RotatingFlowNote(const Model& model);

}  // namespace qalto
