#pragma once
// What the analytical model of the present experiment solves where it is not exact: one line per
// approximation, with its expected error where it is known, for the result window.

#include <string>
#include <vector>

#include "model/model.h"

namespace qalto {

// The approximations of the analytical model for the model's technique, electrode, mechanism
// and cell; empty when every part of the curve is exact (or the digital simulation runs).
std::vector<std::string> AnalyticalApproximations(const Model& model);

}  // namespace qalto
