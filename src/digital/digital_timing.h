#pragma once
// How each technique divides the time of one potential point into implicit sub-steps, which
// potential each sub-step applies and at which sub-steps the current is sampled.

namespace qalto {

struct DigitalTiming {
  double timeStep = 0;        // time per sub-step, s
  int subSteps = 0;           // sub-steps per point
  int storedSubStep = 0;      // sub-step whose current is kept for the point (0: none)
  double storedWeight = 0;    // +1: the kept current is added, -1: subtracted
  int sampledSubStep = 0;     // sub-step whose current completes the point
  bool freshProfile = false;  // every point starts from the bulk (a new drop or pulse)
  double chargingTime = 0;    // time constant of the charging circuit, s
};

// Timing of technique 1..6; raises "Invalid procedure call or argument" for any other, and the
// checked-arithmetic errors for a zero drop or pulse time.
DigitalTiming TechniqueTiming(int technique, double dropTime, double pulseTime);

// Potential applied in sub-step k (1..m) of a point at potential E (V). pulse is the pulse of
// normal and differential pulse, already reversed on the return sweep; pulseHeight the square
// wave amplitude (both V).
double SubStepPotential(int technique, int k, int m, double E, double pulse, double pulseHeight);

}  // namespace qalto
