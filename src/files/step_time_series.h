#pragma once
// The current of a measured chronoamperogram taken as a time series: its x column becomes the
// time since the first step, so that the curve store, the Cottrell and Anson lines and a fit of
// technique 7 read it as a simulated one. The time is the file's time column where it has one,
// else its first column; it is counted from the file's first point when that lies more than one
// and a half sampling intervals after zero (a later step of a sequence, whose time runs on from
// the steps before; a first sample a little late is the instrument's timing). The points at or before the step, t <= 0, are left out: the step itself has no
// diffusion current.

#include <optional>
#include <string>
#include <vector>

#include "files/imported_curve.h"

namespace qalto {

// Rewrites the curve's potentials as those times. Returns what prevents it: fewer than two
// points after the step, or times that do not rise.
std::optional<std::string> TakeStepTimes(ImportedCurve& curve);

// The times' texts for the Instrument window: t sample, the mean spacing of the points, and
// t1, the time of the last point less the second step's t2 (s) where the curve lasts longer
// than t2, else the whole curve (t2 then 0).
struct StepTimeTexts {
  std::string sample, first, second;
};
StepTimeTexts StepTimeTextsOf(const ImportedCurve& curve, double secondStep);

}  // namespace qalto
