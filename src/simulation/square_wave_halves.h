#pragma once
// The forward and the reverse currents of a digital square-wave run, kept beside its net
// current in the two columns of ReactionCurrents after the total.

#include <vector>

#include "model/model.h"

namespace qalto {

// The two columns (forward, reverse) when the latest run was a digital square wave and curve
// `curve` still shows its net current point for point; empty otherwise (another technique, the
// analytical simulation, a curve scaled, imported or overlaid since).
std::vector<int> SquareWaveHalfColumns(const Model& model, int curve);

}  // namespace qalto
