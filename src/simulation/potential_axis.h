#pragma once
// The potential axis of a run: one sweep from E start towards E end in steps of E step, mirrored
// back for a cycle (the vertex taken twice) and repeated for further cycles.

#include "model/model.h"

namespace qalto {

// Sets SweepPoints, NumberOfPoints and PotentialX(0..NumberOfPoints); PotentialX(0) is one step
// before the start. A zero E step raises "Division by zero: E step (V) is 0"; more than
// kMaxPoints points raise "Too many points: <n>, a curve holds at most <kMaxPoints> ..." with
// the model untouched.
void BuildPotentialAxis(Model& model);

// The point of the first sweep whose potential the axis repeats at point i (i itself within the
// first sweep): the way back retraces the way out, and each later cycle the first, copied.
inline int FirstSweepCounterpart(int sweepPoints, int i) {
  if (sweepPoints <= 0 || i <= sweepPoints) return i;
  const int inCycle = (i - 1) % (2 * sweepPoints) + 1;
  return inCycle > sweepPoints ? 2 * sweepPoints + 1 - inCycle : inCycle;
}

// Whether a positive E step is too long for the sweep from `start` to `end` (V) to hold one
// step, its step count rounded as the axis rounds it: such a run would be a single point.
bool StepOutrunsSweep(double start, double end, double step);

}  // namespace qalto
