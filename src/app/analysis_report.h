#pragma once
// The result window's report of the Analyze menu's findings: the peaks, the half-wave
// potentials and the theoretical values, in the layout the analysis commands have always printed.

#include <vector>

#include "analysis/half_wave_finding.h"
#include "analysis/peak_finding.h"
#include "analysis/theoretical_peak.h"
#include "app/result_window.h"

namespace qalto {

// "Curve k:", then one line per peak ("Peak j:  Ep= ...V  Ip= ...A", the first with its
// "Ep/2 - Ep"), and the separation and ratio lines where the curve has them.
// The report's failure is raised after what was found.
void PrintPeaks(ResultWindow& result, const PeakReport& report);

// "Curve k:", then "Peak j:  E1/2= ...V  Id= ...A" for every wave.
void PrintHalfWaves(ResultWindow& result, const std::vector<std::vector<HalfWave>>& curves);

// The heading and, for every charge reaction, the reversible, quasi-reversible and
// irreversible lines, then the notes on the approximations; the report's failure is raised
// after the lines computed before it.
void PrintTheoreticalPeak(ResultWindow& result, const TheoreticalReport& report);

}  // namespace qalto
