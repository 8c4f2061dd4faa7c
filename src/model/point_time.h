#pragma once
// The time one potential point of a run lasts.

#include "model/model.h"

namespace qalto {

// Time of one potential point, s. A sweep moves by PotentialStep (V) at ScanRate (V/s), so its
// step lasts PotentialStep / ScanRate; DC and the pulse techniques renew the solution every drop
// of DropTime; chronoamperometry samples its current every SampleTime. A zero scan rate raises
// "Division by zero".
double PointTime(const Model& model);

}  // namespace qalto
