#pragma once
// Logarithmic analysis of a wave: log10((Id - I)/I), with the last point's current taken as the
// limiting current Id. For a reversible wave this is a straight line of slope nF/(2.3 RT) per
// volt through 0 at the half-wave potential.

#include "common/growing_table.h"
#include "model/model.h"

namespace qalto {

// Replaces y(i, CurrentCurve), i = 1..NumberOfPoints, by the transform. Points where the
// quotient or its logarithm fails repeat the last logarithm that succeeded (1 before any); the
// last point, log10 0, is extrapolated from the two before it.
void LogWaveCurve(const Model& model, GrowingTable2<double>& y);

}  // namespace qalto
