#include "digital/digital_timing.h"

#include <algorithm>
#include <cmath>

#include "common/checked_math.h"
#include "common/int16.h"

namespace qalto {

namespace {

// Sub-steps after a potential jump: the first kFirstStep of the piece, each next one
// kJumpGrowth times longer until they reach kLongestStep of the piece, the rest equal. The first
// is backward Euler, the others second-order backward differences.
constexpr double kFirstStep = 1e-3;
constexpr double kJumpGrowth = 1.5;
constexpr double kLongestStep = 0.05;

std::vector<double> JumpFractions(double first, double growth, double longest) {
  std::vector<double> f;
  double step = first;
  double done = 0.0;
  while (done + step < 1.0 - 1e-9) {
    f.push_back(step);
    done += step;
    step = std::min(step * growth, longest);
  }
  f.push_back(1.0 - done);
  return f;
}

void SetPieces(DigitalTiming& t, std::initializer_list<TimePiece> pieces) {
  t.pieceCount = 0;
  for (const TimePiece& p : pieces)
    t.pieces[static_cast<size_t>(t.pieceCount++)] = p;
}

// Every piece of a new length gets its own run of step lengths.
void NumberStepLengths(DigitalTiming& t) {
  t.stepLengths.clear();
  t.stepGrowth.clear();
  for (int p = 0; p < t.pieceCount; ++p) {
    TimePiece& piece = t.pieces[static_cast<size_t>(p)];
    bool shared = false;
    for (int q = 0; q < p && !shared; ++q) {
      if (t.pieces[static_cast<size_t>(q)].length == piece.length) {
        piece.firstLevel = t.pieces[static_cast<size_t>(q)].firstLevel;
        shared = true;
      }
    }
    if (shared) continue;
    piece.firstLevel = static_cast<int>(t.stepLengths.size());
    for (size_t k = 0; k < t.fractions.size(); ++k) {
      t.stepLengths.push_back(piece.length * t.fractions[k]);
      t.stepGrowth.push_back(k == 0 || t.ramp ? 0.0 : t.fractions[k] / t.fractions[k - 1]);
    }
  }
}

}  // namespace

DigitalTiming TechniqueTiming(int technique, double dropTime, double pulseTime, int refinement) {
  DigitalTiming t;
  using P = PiecePotential;
  switch (technique) {
    case 1:  // one step per point of the sweep
      SetPieces(t, {{dropTime, P::Point}});
      t.ramp = true;
      break;
    case 2:  // a drop of DropTime from the bulk, sampled at its end
      SetPieces(t, {{dropTime, P::Point}});
      t.freshProfile = true;
      break;
    case 3:  // a pulse of PulseTime from rest
      Checked(Div(dropTime, pulseTime));
      SetPieces(t, {{pulseTime, P::Pulse}});
      t.freshProfile = true;
      break;
    case 4: {  // a drop of whole pulse times, the current after the pulse minus before it
      const int pulses = ToInt16(Div(dropTime, pulseTime));
      if (pulses >= 2) {
        SetPieces(t, {{(pulses - 1) * pulseTime, P::Point}, {pulseTime, P::Pulse}});
        t.firstWeight = -1.0;
      } else {  // a drop no longer than the pulse: the pulse alone, from rest
        SetPieces(t, {{pulseTime, P::Pulse}});
      }
      t.freshProfile = true;
      break;
    }
    case 5:  // the net current: forward half period minus reverse half period
      SetPieces(t, {{pulseTime, P::Forward}, {pulseTime, P::Reverse}});
      t.firstWeight = 1.0;
      t.lastWeight = -1.0;
      break;
    case 6:  // the sum of the currents of the two half periods
      SetPieces(t, {{pulseTime, P::LowerHalf}, {pulseTime, P::UpperHalf}});
      t.firstWeight = 1.0;
      break;
    default:
      throw RuntimeError::InvalidCall();
  }
  if (t.ramp) {
    t.fractions.assign(static_cast<size_t>(refinement), 1.0 / refinement);
  } else {
    // Refining halves the first and the longest step and takes the square root of the growth.
    t.fractions = JumpFractions(kFirstStep / refinement, std::pow(kJumpGrowth, 1.0 / refinement),
                                kLongestStep / refinement);
  }
  NumberStepLengths(t);
  t.chargingTime = technique <= 2 ? dropTime : pulseTime;
  return t;
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
    case PiecePotential::LowerHalf:
      return E - amplitude / 2.0;
    case PiecePotential::UpperHalf:
      return E + amplitude / 2.0;
    default:
      return E;
  }
}

}  // namespace qalto
