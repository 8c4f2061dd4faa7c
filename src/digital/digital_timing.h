#pragma once
// How each technique divides the time of one potential point: into pieces of constant applied
// potential (the drop, the pulse, the two half periods), each piece into implicit sub-steps,
// and which piece ends give the point's current.

#include <array>
#include <vector>

#include "model/experiment.h"

namespace qalto {

// What a piece applies: the point's potential, the point's potential plus the pulse, or the
// half period displaced along the scan (forward) or against it (reverse) by half the amplitude;
// both square waves step their forward half period first.
enum class PiecePotential { Point, Pulse, Forward, Reverse };

struct TimePiece {
  double length = 0;  // s
  PiecePotential potential = PiecePotential::Point;
  std::vector<int> levels;  // the step length of each of its sub-steps (index into stepLengths)
};

struct DigitalTiming {
  int pieceCount = 0;
  std::array<TimePiece, 2> pieces{};
  // Share of a piece's length taken by each of its sub-steps, in order: equal steps along the
  // sweep's ramp, each of at most 1 mV, else 16 equal steps, so that the transient after every
  // potential jump is resolved.
  std::vector<double> fractions;
  std::vector<double> stepLengths;  // length of each distinct kind of sub-step, s (its level)
  // Growth of each kind of sub-step over the one before it; 0 for the first sub-step after a
  // potential jump, which is taken backward-Euler, the others second-order backward differences
  // (the sweep's all of them, since its ramp has no jump).
  std::vector<double> stepGrowth;
  double firstWeight = 0;     // the point's current: firstWeight x I(end of piece 1)
  double lastWeight = 1;      //   + lastWeight x I(end of the last piece)
  bool freshProfile = false;  // every point starts from the bulk (a new drop or pulse)
  bool ramp = false;          // the potential moves linearly through the point's sub-steps
  double chargingTime = 0;    // time constant of the charging circuit, s
  // Potential steps: the k-th point after a jump takes the sub-steps of stepPlans[k - 1], the
  // points after the last plan those of the last; empty for the other timings, whose every
  // point takes `pieces`.
  std::vector<TimePiece> stepPlans;
};

// The sub-steps of a point of potential steps at place sinceJump after the last jump (1: the
// first after it); pieces[0] for the other timings.
const TimePiece& StepPlan(const DigitalTiming& timing, int sinceJump);

// Timing of a technique by its row's point timing; potentialStep (V) sets the sub-steps of a
// sweep's point, refinement multiplies the number of sub-steps (1 for a normal run). Raises
// "Invalid procedure call or argument" for no technique, and the checked arithmetic errors for a
// zero drop or pulse time.
DigitalTiming TechniqueTiming(Technique technique, double dropTime, double pulseTime,
                              double potentialStep, int refinement);

// The potential program's points after a jump (stepPlans, of a timing of kProgram): the k-th
// sampling interval after the jump in at least the ramp's sub-steps and at least the least power
// of two not below 16 / k, the first after the jump backward Euler; the last plan is the ramp's
// own piece, which every later point takes.
void AddJumpPlans(DigitalTiming& timing, double sample, int refinement);

// Potential applied by a piece of a point at potential E (V); pulse is the pulse of normal and
// differential pulse, already reversed on the return sweep, amplitude the square-wave amplitude
// (both V), scanSign the direction (+1 or -1) in which the staircase moves at this point.
double PiecePotentialValue(PiecePotential kind, double E, double pulse, double amplitude,
                           int scanSign);

}  // namespace qalto
