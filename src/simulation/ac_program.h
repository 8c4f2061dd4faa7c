#pragma once
// The potential program of AC voltammetry: a sine of amplitude dE and frequency f on a DC base,
// from rest at E start with the solution uniform. The base is the sweep of technique 1 (E start
// to E end at v, back again for a cycle, repeated for more cycles) or the potential program of
// technique 8 sampled as technique 8 samples it, at the sine's own interval. The curve's points
// are the instants k dt, dt = 1 / (kAcSamplesPerPeriod f), and the curve store's x column holds
// the base's (DC) potential at each.

#include "model/model.h"
#include "simulation/program_samples.h"

namespace qalto {

struct AcProgram {
  double start = 0;      // E start, V
  double end = 0;        // E end, V (the switching potential of a cycle)
  double rate = 0;       // |v|, V/s
  double amplitude = 0;  // dE, V
  double frequency = 0;  // f, Hz
  double sample = 0;     // dt, s
  int sweepPoints = 0;   // points of one sweep from E start to E end (the whole program's)
  int points = 0;        // points of the whole program
  bool onProgram = false;
  ProgramSamples base;  // the potential program's samples every dt, when onProgram

  // The base's potential at the instant of point i (point 0: t = 0), V.
  double DcPotentialAt(int i) const;
  // The base's potential at the start of the interval that ends at point i (just after a jump
  // there), V.
  double IntervalStart(int i) const;
  // The sine at the instant of point i (i may be fractional), V.
  double SineAt(double i) const;
  // dE/dt at point i: the base's over the interval that ends there (a jump counted in it, as
  // technique 8 counts it) and the sine's at the instant, V/s.
  double RateAt(int i) const;
  // The largest change of the applied potential over one point but for a jump, V.
  double LargestStep() const;
};

// The program of the model's boxes. Raises "Division by zero: f (Hz) is 0" or
// "... v (V/s) is 0", "Invalid procedure call or argument: ..." naming the box for a negative
// f, v or dE (mV) or a sweep without range, "Too many points: ..." for more points than a
// curve holds, and the potential program's refusals when the sine rides on it.
AcProgram AcProgramOf(const Model& model);

// Sets NumberOfPoints, SweepPoints, PotentialX(0..NumberOfPoints), the base's potential, and
// PointTimes, the points' instants (s), which the Option form's time axis draws them against.
void BuildAcAxis(Model& model);

}  // namespace qalto
