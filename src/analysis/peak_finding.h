#pragma once
// Find Peak: the peaks of every curve of the curve store, with the half-peak point of the first
// peak, and for a one-cycle voltammogram with two peaks their separation, mid-point and (for
// cyclic voltammetry) the ratio of the reverse to the forward peak current.

#include <exception>
#include <optional>
#include <vector>

#include "model/model.h"

namespace qalto {

struct FoundPeak {
  double potential = 0;  // V
  double current = 0;    // A, signed, from zero
  double baseline = 0;   // A, the extrapolated foot of the wave at the peak potential
  double halfWidth = 0;  // Ep/2 - Ep, V, Ep/2 where the current above the baseline is half
  double Height() const { return current - baseline; }
};

// The two peaks of a one-cycle voltammogram.
struct PeakPair {
  double separation = 0;  // Ep2 - Ep1, V
  double midpoint = 0;    // (Ep2 + Ep1)/2, V
};

// The reverse-to-forward ratio of a cyclic voltammogram, with the peak currents it implies.
struct PeakRatio {
  double ratio = 0;     // Ipa/Ipc
  double forwardI = 0;  // Ipc, A
  double reverseI = 0;  // Ipa = -ratio x Ipc, A
};

struct CurvePeaks {
  std::vector<FoundPeak> peaks;  // in scan order, at most kMaxPeaks
  std::optional<PeakPair> pair;
  std::optional<PeakRatio> ratio;
};

// The curves searched, the last one possibly incomplete when failure (a run-time error of the
// arithmetic, raised again once what was found has been reported) stopped the search.
struct PeakReport {
  std::vector<CurvePeaks> curves;
  std::exception_ptr failure;
};

// Scans points from + 4 .. to - 4 of every curve 1..CurveCount for peaks of the current's
// magnitude above 2 % of the plot's current range, stores them in PeakCount, PeakPotential,
// PeakCurrent and HalfPeakPotential, and returns them curve by curve. A flat top of equal
// points is one peak; a top that stands above the valleys beside it in its sweep segment by no
// more than the threshold (a plateau of a steady wave, a ripple of noise, a bump on a foot) is
// none. Each peak is measured from the
// foot of its wave as well: the straight line through the sweep's points where the curve runs
// flattest before the wave, extrapolated to the peak.
PeakReport FindPeaks(Model& model, int from, int to);

}  // namespace qalto
