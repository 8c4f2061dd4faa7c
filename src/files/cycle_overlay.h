#pragma once
// Cycles of one measurement drawn over one another. The curve store holds one potential axis
// for all its curves, so every cycle is read off at the potentials of one of them, the axis:
// each axis point takes the cycle's current at that potential on the sweep that runs the same
// way, interpolated between the two measured points around it.

#include <vector>

#include "files/imported_curve.h"

namespace qalto {

// The cycle's currents (A) at the axis potentials (V). A potential the cycle does not reach
// on a sweep of that direction takes the current of its nearest point of such a sweep.
std::vector<double> CurrentsAtPotentials(const ImportedCurve& cycle,
                                         const std::vector<double>& axis);

// The turns of the potential program: reversals by more than a tenth of the range, so that
// the noise of measured potentials (V) makes none.
int PotentialTurns(const std::vector<double>& potential);

}  // namespace qalto
