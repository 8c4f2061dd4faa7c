#pragma once
// What the display options offer for an AC voltammogram: its DC component, the envelope of one
// harmonic or of harmonics 1..8 against the sweep's potential, and its power spectrum.

#include <string>

#include "analysis/ac_harmonics.h"
#include "common/failure.h"
#include "plot/plotter.h"

namespace qalto {

inline constexpr const char* kDcComponent = "DC component";
inline constexpr const char* kAllHarmonics = "harmonics 1-8";
inline constexpr const char* kPowerSpectrum = "power spectrum";

// The display options' name of harmonic k, "harmonic 3"; k = 0 is the DC component.
std::string HarmonicQuantity(int k);
// The harmonic a quantity names: 0 for the DC component, 1..8, or -1 for any other quantity.
int HarmonicOf(const std::string& quantity);

// The quantity is one of the AC voltammogram's, which the last run has.
bool ShowsAcHarmonics(const Model& model, const std::string& quantity);

// Copies the DC component or envelope that the quantity names (all eight envelopes for
// "harmonics 1-8") from AcHarmonics into the curve store.
void PrepareAcCurves(Model& model, const std::string& quantity);

// Draws log10 of the power spectrum (A^2) against the frequency, 0 to 8.5 f, as one connected
// line; the plot ranges are found from the data or typed, as for a voltammogram.
Outcome PlotAcSpectrum(PlotContext& context);

// The Fourier analysis of the raw current of a slot that holds a measured AC voltammogram, at
// the frequency it was sampled for (64 points a period).
AcHarmonicsResult MeasuredAcHarmonics(const Model& model, int slot);

// Each slot of the first CurveCount that holds a measured AC voltammogram shows what the
// quantity names of its own current: its DC component or the envelope of one harmonic; its raw
// current again for "current I"; for the other quantities the raw current is kept aside, since
// the run's curves may be drawn over it. For "harmonics 1-8", when the current curve is a
// measured AC voltammogram, slots 1..8 show its eight envelopes (what they showed, and the curve
// count, come back with any other quantity).
void PrepareMeasuredAcCurves(Model& model, const std::string& quantity);

// "harmonics 1-8" with the current curve a measured AC voltammogram: its own eight envelopes.
bool ShowsMeasuredHarmonics(const Model& model, const std::string& quantity);

// The power spectrum of the measured AC voltammogram in the slot, drawn as the run's is.
Outcome PlotMeasuredAcSpectrum(PlotContext& context, int slot);

}  // namespace qalto
