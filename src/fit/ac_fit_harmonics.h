#pragma once
// What a fit of an AC voltammogram compares: with AcFitHarmonics set, the envelopes of the
// chosen harmonics (and the DC component) of the measured raw current in curve 1 and of the
// simulated one, each over the curve's points, one harmonic after another; else the currents.

#include <vector>

#include "model/model.h"

namespace qalto {

// The harmonics compared (0: the DC component), in increasing order; empty when the model is
// no AC voltammogram or compares its raw current.
std::vector<int> FittedHarmonics(const Model& model);

// The number of values a fit compares: NumberOfPoints times the harmonics compared, or
// NumberOfPoints.
int ComparedLength(const Model& model);

// The measured values y(1..ComparedLength): the chosen envelopes of curve 1's current, or the
// current itself.
std::vector<double> ObservedValues(const Model& model);

// The simulated values of the run just made into f(1..ComparedLength): the chosen envelopes the
// run kept (AcHarmonics), or the current curve.
void SimulatedValues(const Model& model, std::vector<double>& f);

// The point of the curve that compared value i (1..ComparedLength) belongs to.
int CurvePointOf(const Model& model, int i);

}  // namespace qalto
