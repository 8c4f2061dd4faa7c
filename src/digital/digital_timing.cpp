#include "digital/digital_timing.h"

#include <string>

#include "common/checked_math.h"
#include "common/int16.h"

namespace qalto {
namespace {

// The number of time steps of PulseTime in a drop; a drop that holds fewer than `needed` of
// them cannot be resolved, and would give a curve of zeros.
int StepsPerDrop(double dropTime, double pulseTime, int needed) {
  int steps = ToInt16(Div(dropTime, pulseTime));
  if (steps < needed) {
    throw RuntimeError("t drop (s) / t pulse (s) gives " + std::to_string(steps) +
                       " time steps per drop, at least " + std::to_string(needed) + " are needed");
  }
  return steps;
}

}  // namespace

DigitalTiming TechniqueTiming(int technique, double dropTime, double pulseTime) {
  DigitalTiming t;
  switch (technique) {
    case 1:  // one step per point of the sweep
      t.timeStep = dropTime;
      t.subSteps = 1;
      t.sampledSubStep = 1;
      break;
    case 2:  // a drop of DropTime in steps of PulseTime, sampled at its end
      t.timeStep = pulseTime;
      t.subSteps = StepsPerDrop(dropTime, pulseTime, 1);
      t.sampledSubStep = t.subSteps;
      t.freshProfile = true;
      break;
    case 3:  // a pulse of PulseTime from rest, in the same number of finer steps
      t.timeStep = Div(pulseTime * pulseTime, dropTime);
      t.subSteps = StepsPerDrop(dropTime, pulseTime, 1);
      t.sampledSubStep = t.subSteps;
      t.freshProfile = true;
      break;
    case 4:  // the current after the pulse minus the current before it
      t.timeStep = pulseTime;
      t.subSteps = StepsPerDrop(dropTime, pulseTime, 2);  // one step before the pulse, one on it
      t.storedSubStep = t.subSteps - 1;
      t.storedWeight = -1.0;
      t.sampledSubStep = t.subSteps;
      t.freshProfile = true;
      break;
    case 5:
    case 6:  // the sum of the currents of the two half periods
      t.timeStep = pulseTime;
      t.subSteps = 2;
      t.storedSubStep = 1;
      t.storedWeight = 1.0;
      t.sampledSubStep = 2;
      break;
    default:
      throw RuntimeError::InvalidCall();
  }
  t.chargingTime = technique <= 2 ? dropTime : pulseTime;
  return t;
}

double SubStepPotential(int technique, int k, int m, double E, double pulse, double pulseHeight) {
  switch (technique) {
    case 3:
      return E + pulse;
    case 4:
      return k <= m - 1 ? E : E + pulse;
    case 5:
    case 6:
      return k == 1 ? E - pulseHeight / 2.0 : E + pulseHeight / 2.0;
    default:
      return E;
  }
}

}  // namespace qalto
