#pragma once
// What put each curve into its slot of the curve store: a simulation, a measured data file, a
// fit or one reaction's component of a separation. The plot names and styles the curves by it.

#include <array>
#include <string>

#include "model/model.h"

namespace qalto {

enum class CurveSource { kNone, kSimulation, kMeasured, kFit, kComponent };

struct CurveOrigin {
  CurveSource source = CurveSource::kNone;
  std::string name;  // "ks 0.01 cm/s, 0.1 V/s", the data file's name and cycle, "Fit", ...
};

// Slots 1..kMaxCurves; slot 0 is unused, as in the curve store.
using CurveOrigins = std::array<CurveOrigin, kMaxCurves + 1>;

// A simulated curve's name from what sets it apart: "ks 0.01 cm/s, 0.1 V/s" for a sweep, the
// technique's name in place of the scan rate for the others.
std::string SimulationName(const Model& model);

// The origins after the menu command with that handler ran on the model; the data file's name
// is the one an import has just read.
void NoteCurveOrigins(CurveOrigins& origins, const Model& model, const std::string& handler,
                      const std::string& dataFileName);

}  // namespace qalto
