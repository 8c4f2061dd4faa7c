#pragma once
// The plot of impedance spectra (the curve store when Model::SpectrumFrequencies is set): the
// Nyquist plot, -Z'' against Z' on equal ohm ranges, at the left, and the Bode plots, log |Z|
// and the phase against log f, at the right, every curve of the store in its line style.

#include "common/failure.h"
#include "plot/plotter.h"

namespace qalto {

// Draws the spectra of curves 1..CurveCount; the ranges are always found from the data (the
// display options' typed ranges are for potential axes), and the Nyquist frame's are written
// into the model's plot ranges. "Error: No data!" when no point of any curve is finite.
Outcome PlotSpectra(PlotContext& context);

}  // namespace qalto
