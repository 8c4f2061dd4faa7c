#pragma once
// What the last commands found: the peaks of the curves, the outcome of the last fit and the
// statistics of the last run. The commands overwrite it; a fit worker does not need it.

#include "common/table.h"
#include "model/fit_result.h"
#include "model/model_limits.h"

namespace qalto {

struct RunResults {
  // Peaks.
  int PeakCount = 0;
  Table2<double> PeakPotential{kMaxPeaks + 1, kMaxCurves + 1};      // V
  Table2<double> PeakCurrent{kMaxPeaks + 1, kMaxCurves + 1};        // A, signed
  Table2<double> HalfPeakPotential{kMaxPeaks + 1, kMaxCurves + 1};  // V

  // The last fit.
  int FitObjectiveCount = 0;
  FitResult LastFit;  // outcome of the last fit that ran to its end

  // Run statistics.
  double ElapsedTime = 0;  // s
  int MaxIteration = 0;
};

}  // namespace qalto
