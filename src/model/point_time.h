#pragma once
// The time one potential point of a run lasts.

#include "model/model.h"

namespace qalto {

// Time of one potential point, s. A sweep moves by PotentialStep (V) at ScanRate (V/s), so its
// step lasts PotentialStep / ScanRate; DC and the pulse techniques renew the solution every drop
// of DropTime; chronoamperometry samples its current every SampleTime, AC voltammetry
// kAcSamplesPerPeriod times a period of its sine. A zero scan rate raises
// "Division by zero".
double PointTime(const Model& model);

// Points of an AC voltammogram a period of its sine: the eighth harmonic still has eight.
inline constexpr int kAcSamplesPerPeriod = 64;

}  // namespace qalto
