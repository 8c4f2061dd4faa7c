#include "digital/digital_timing.h"

#include <algorithm>
#include <cmath>

#include "common/checked_math.h"
#include "common/int16.h"
#include "model/experiment_table.h"

namespace qalto {

namespace {

// Sub-steps after a potential jump: 16 equal steps to the sampling instant, the first backward
// Euler, the others second-order backward differences. The current at the end of a Cottrell
// transient is then within 0.05 % of its converged value, the square-wave net peak within
// 0.15 %; steps growing from a small first one do worse for the same count, since the error of
// the variable-step difference grows with the ratio of the steps.
constexpr int kJumpSubSteps = 16;

// The sweep's ramp in second-order steps of at most 1 mV: at the defaults (5 mV, 10 mV/s) the
// reversible peak within 0.05 mV and the curve within 0.1 % of the converged one, where one
// backward-Euler step per point lags it by 1.4 mV.
constexpr double kLargestRampStep = 0.001;  // V

void SetPieces(DigitalTiming& t, std::initializer_list<TimePiece> pieces) {
  t.pieceCount = 0;
  for (const TimePiece& p : pieces)
    t.pieces[static_cast<size_t>(t.pieceCount++)] = p;
}

// Sub-steps of the same length and growth share their level (their equations).
int LevelOf(DigitalTiming& t, double length, double growth) {
  for (size_t k = 0; k < t.stepLengths.size(); ++k) {
    if (t.stepLengths[k] == length && t.stepGrowth[k] == growth) return static_cast<int>(k);
  }
  t.stepLengths.push_back(length);
  t.stepGrowth.push_back(growth);
  return static_cast<int>(t.stepLengths.size()) - 1;
}

// The k-th sampling interval after a jump in the least power of two of equal sub-steps not
// below kJumpSubSteps / k, and never fewer than least: no sub-step is longer than 1/16 of the
// time since the jump, the first after the jump is backward Euler, every other a second-order
// difference over the sub-step before it, which is never more than twice as long. The last
// plan, least sub-steps growing by 1, serves every later point.
void AddPlans(DigitalTiming& t, double sample, int refinement, int least) {
  int previous = 0;  // sub-steps of the point before
  for (int k = 1;; ++k) {
    int steps = 1;
    while (steps * k < kJumpSubSteps)
      steps *= 2;
    steps = std::max(steps * refinement, least);
    TimePiece piece{sample, PiecePotential::Point, {}};
    for (int s = 0; s < steps; ++s) {
      const double growth = s > 0 ? 1.0 : (k == 1 ? 0.0 : static_cast<double>(previous) / steps);
      piece.levels.push_back(LevelOf(t, sample / steps, growth));
    }
    t.stepPlans.push_back(piece);
    if (steps == previous && steps == least) return;
    previous = steps;
  }
}

// Potential steps: one sub-step (per refinement) once the transient has decayed.
void AddStepPlans(DigitalTiming& t, double sample, int refinement) {
  AddPlans(t, sample, refinement, refinement);
}

void NumberStepLengths(DigitalTiming& t) {
  t.stepLengths.clear();
  t.stepGrowth.clear();
  for (int p = 0; p < t.pieceCount; ++p) {
    TimePiece& piece = t.pieces[static_cast<size_t>(p)];
    piece.levels.clear();
    for (size_t k = 0; k < t.fractions.size(); ++k) {
      double growth = k == 0 ? 0.0 : t.fractions[k] / t.fractions[k - 1];
      if (t.ramp) growth = 1.0;
      piece.levels.push_back(LevelOf(t, piece.length * t.fractions[k], growth));
    }
  }
}

}  // namespace

DigitalTiming TechniqueTiming(Technique technique, double dropTime, double pulseTime,
                              double potentialStep, int refinement) {
  DigitalTiming t;
  using P = PiecePotential;
  const TechniqueRow& row = RowOf(technique);
  switch (row.timing) {
    case PointTiming::kSweepStep:  // one step per point of the sweep
    case PointTiming::kProgram:    // the program's ramp (or hold) over each sampling interval
      SetPieces(t, {{dropTime, P::Point, {}}});
      t.ramp = true;
      break;
    case PointTiming::kDrop:  // a drop of DropTime from the bulk, sampled at its end
      SetPieces(t, {{dropTime, P::Point, {}}});
      t.freshProfile = true;
      break;
    case PointTiming::kPulse:             // a pulse of PulseTime from rest
      Checked(Div(dropTime, pulseTime));  // a zero pulse time fails as the division it makes
      SetPieces(t, {{pulseTime, P::Pulse, {}}});
      t.freshProfile = true;
      break;
    // A drop of whole pulse times, the current after the pulse minus before it.
    case PointTiming::kDifferentialPulse: {
      const int pulses = ToInt16(Div(dropTime, pulseTime));
      if (pulses >= 2) {
        SetPieces(t, {{(pulses - 1) * pulseTime, P::Point, {}}, {pulseTime, P::Pulse, {}}});
        t.firstWeight = -1.0;
      } else {  // a drop no longer than the pulse: the pulse alone, from rest
        SetPieces(t, {{pulseTime, P::Pulse, {}}});
      }
      t.freshProfile = true;
      break;
    }
    // The net current: forward half period minus reverse half period.
    case PointTiming::kSquareWaveNet:
      SetPieces(t, {{pulseTime, P::Forward, {}}, {pulseTime, P::Reverse, {}}});
      t.firstWeight = 1.0;
      t.lastWeight = -1.0;
      break;
    case PointTiming::kSquareWaveSum:  // the sum of the currents of the two half periods
      SetPieces(t, {{pulseTime, P::Forward, {}}, {pulseTime, P::Reverse, {}}});
      t.firstWeight = 1.0;
      break;
    case PointTiming::kStepSample:  // the potential held over the sampling interval
      Checked(Div(1.0, dropTime));
      SetPieces(t, {{dropTime, P::Point, {}}});
      break;
    case PointTiming::kSineSample:  // a sample of the sine, its sub-steps following it
      Checked(Div(1.0, dropTime));
      SetPieces(t, {{dropTime, P::Point, {}}});
      t.ramp = true;
      break;
    case PointTiming::kNone:
      throw RuntimeError::InvalidCall();
  }
  if (t.ramp) {
    const double span = std::abs(potentialStep) / kLargestRampStep;
    const int steps = refinement * std::max(1, static_cast<int>(std::ceil(span - 1e-9)));
    t.fractions.assign(static_cast<size_t>(steps), 1.0 / steps);
  } else {
    const int steps = kJumpSubSteps * refinement;
    t.fractions.assign(static_cast<size_t>(steps), 1.0 / steps);
  }
  NumberStepLengths(t);
  if (row.timing == PointTiming::kStepSample) {
    t.pieces[0].levels.clear();
    AddStepPlans(t, dropTime, refinement);
    t.pieces[0] = t.stepPlans.back();
  }
  t.chargingTime = row.pulseSampled ? pulseTime : dropTime;
  return t;
}

void AddJumpPlans(DigitalTiming& t, double sample, int refinement) {
  AddPlans(t, sample, refinement, static_cast<int>(t.fractions.size()));
}

const TimePiece& StepPlan(const DigitalTiming& timing, int sinceJump) {
  if (timing.stepPlans.empty()) return timing.pieces[0];
  const std::size_t k = static_cast<std::size_t>(std::max(sinceJump, 1)) - 1;
  return timing.stepPlans[std::min(k, timing.stepPlans.size() - 1)];
}

double PiecePotentialValue(PiecePotential kind, double E, double pulse, double amplitude,
                           int scanSign) {
  switch (kind) {
    case PiecePotential::Pulse:
      return E + pulse;
    case PiecePotential::Forward:
      return E + scanSign * std::abs(amplitude) / 2.0;
    case PiecePotential::Reverse:
      return E - scanSign * std::abs(amplitude) / 2.0;
    default:
      return E;
  }
}

}  // namespace qalto
