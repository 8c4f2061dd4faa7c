#pragma once
// The raw current of a measured AC voltammogram taken as a time series: the file's current,
// interpolated linearly in its own time column, at the instants k dt (dt = 1 / (64 f)) of the
// AC program of the Instrument window, counted from the file's first time, where the sine is
// taken to start; its potentials become the sweep's (DC) potential at those instants, as a
// simulation stores them, so that a simulation or a fit of technique 9 meets the measured points.

#include <optional>
#include <string>

#include "files/imported_curve.h"
#include "model/model.h"

namespace qalto {

// Rewrites the curve on the program's instants, as many as the program and the file's span
// both hold. Returns what prevents it: no time column, times that do not rise, a file that
// samples fewer than 64 points a period of the sine, an AC program the boxes cannot make.
std::optional<std::string> SampleOnAcProgram(const Model& model, ImportedCurve& curve);

}  // namespace qalto
