#pragma once
// Find Peak: the peaks of every curve of the curve store, with the half-peak point of the first
// peak, and for a one-cycle voltammogram with two peaks their separation, mid-point and (for
// cyclic voltammetry) the ratio of the reverse to the forward peak current.

#include "app/result_window.h"
#include "model/model.h"

namespace qalto {

// Scans points from + 4 .. to - 4 of every curve 1..CurveCount for peaks of the current's
// magnitude above 2 % of the plot's current range, stores them in PeakCount, PeakPotential,
// PeakCurrent and HalfPeakPotential, and prints the report into the result window.
void FindPeaks(Model& model, ResultWindow& result, int from, int to);

}  // namespace qalto
