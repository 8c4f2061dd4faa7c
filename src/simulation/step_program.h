#pragma once
// The potential program of chronoamperometry and chronocoulometry: the electrode rests at
// E start with the solution uniform, steps to E1 for t1, then to E2 for t2 (no second step when
// t2 is 0). The curve's points are the sampling instants k dt after the first step, and the
// curve store's x column holds their times.

#include "model/model.h"

namespace qalto {

struct StepProgram {
  double rest = 0;       // V, before the first step
  double first = 0;      // E1, V
  double second = 0;     // E2, V
  double sample = 0;     // sampling interval dt, s
  int firstPoints = 0;   // points of the first step: t1 / dt rounded, at least 1
  int secondPoints = 0;  // points of the second step: t2 / dt rounded

  int Points() const { return firstPoints + secondPoints; }
  // Applied potential over point i (1-based), V; point 0 is the rest.
  double PotentialAt(int i) const;
  // The place of point i after the last jump before it: 1 for the first point of a step.
  int SinceJump(int i) const { return i > firstPoints ? i - firstPoints : i; }
  double SecondJump() const { return firstPoints * sample; }  // s
};

// The program of the model's boxes. Raises "Division by zero: t sample (s) is 0" for no
// sampling interval, "Invalid procedure call or argument: t1 (s) is 0" for a first step without
// duration, and "Too many points: ..." for more points than a curve holds.
StepProgram StepProgramOf(const Model& model);

// Sets NumberOfPoints, SweepPoints (the points of the first step) and PotentialX(i) = i dt, s.
void BuildStepAxis(Model& model);

// Adds the double layer's charging through the uncompensated resistance to the total current
// and the passed charge of points 1..NumberOfPoints at their times (the x column): each jump dE
// charges Cd dE through Ru with the time constant Ru Cd (at once without a resistance),
// cathodic current for a negative jump. The points after SweepPoints follow the second jump,
// at secondJump (s).
void AddStepCharging(Model& model, double secondJump);

}  // namespace qalto
