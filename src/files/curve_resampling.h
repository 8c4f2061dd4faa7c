#pragma once
// A curve longer than the curve store reduced to fit it without losing its peaks.

#include <cstddef>

#include "files/imported_curve.h"

namespace qalto {

// The curve cut into (maxPoints - 2) / 2 runs of consecutive points; of each run the points of
// the lowest and the highest current are kept, in their order, so that every peak and every
// trough stays where it was; the first and the last point are kept too. A curve of maxPoints points
// or fewer is returned as it is.
ImportedCurve ResampledKeepingPeaks(const ImportedCurve& curve, size_t maxPoints);

}  // namespace qalto
