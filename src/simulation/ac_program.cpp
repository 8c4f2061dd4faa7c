#include "simulation/ac_program.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/plain_number.h"
#include "model/point_time.h"

namespace qalto {
namespace {

// A box that must hold a number above zero: zero divides by zero, a negative number is refused.
void CheckPositive(const char* caption, double value) {
  if (value == 0) throw RuntimeError(std::string("Division by zero: ") + caption + " is 0");
  if (!(value > 0)) {
    throw RuntimeError(std::string("Invalid procedure call or argument: ") + caption + " is " +
                       PlainNumber(value));
  }
}

// The sweep of E start, E end and v as the base: its points over the model's cycles.
void SetSweepBase(const Model& model, AcProgram& p) {
  CheckPositive("v (V/s)", p.rate);
  if (p.start == p.end) {
    throw RuntimeError("Invalid procedure call or argument: E end (V) equals E start (V), " +
                       PlainNumber(p.start));
  }
  const double sweep = std::round(Div(std::fabs(p.end - p.start), p.rate * p.sample));
  const double total = std::round(sweep * 2.0 * model.ScanCycles);
  if (!(std::fmax(sweep, total) < kMaxPoints + 1.0)) {
    throw RuntimeError("Too many points: " + PlainNumber(std::fmax(sweep, total)) +
                       ", a curve holds at most " + std::to_string(kMaxPoints) +
                       " (a higher v (V/s), a lower f (Hz) or a shorter range)");
  }
  if (!(total >= 1.0)) throw RuntimeError::InvalidCall();
  p.sweepPoints = static_cast<int>(sweep);
  p.points = static_cast<int>(total);
}

// The potential program as the base, sampled every dt from rest at E start (a table's) or at
// its first row (a file's, whose first sample is that row itself: point 0, where the sine
// starts).
void SetProgramBase(const Model& model, AcProgram& p) {
  p.onProgram = true;
  p.base = SampleProgram(model.Program, p.sample, model.StartPotential, "1/(64 f) (s)");
  if (model.Program.fromFile) {
    p.base.potential.erase(p.base.potential.begin());
    p.base.begin.erase(p.base.begin.begin());
    p.base.firstTime += p.sample;
    if (p.base.Count() < 1) throw RuntimeError::InvalidCall();
  }
  p.points = p.sweepPoints = p.base.Count();
}

}  // namespace

double AcProgram::DcPotentialAt(int i) const {
  if (onProgram) return i > 0 ? base.potential[static_cast<std::size_t>(i - 1)] : base.rest;
  const double span = std::fabs(end - start);  // V
  const double travelled = std::fmod(i * sample * rate, 2.0 * span);
  const double along = travelled <= span ? travelled : 2.0 * span - travelled;
  return start + (end > start ? along : -along);
}

double AcProgram::IntervalStart(int i) const {
  if (onProgram) return base.begin[static_cast<std::size_t>(i - 1)];
  return DcPotentialAt(i - 1);
}

double AcProgram::SineAt(double i) const {
  return amplitude * std::sin(kTwoPi * i / kAcSamplesPerPeriod);
}

double AcProgram::RateAt(int i) const {
  const double sine = amplitude * kTwoPi * frequency * std::cos(kTwoPi * i / kAcSamplesPerPeriod);
  if (onProgram) return (DcPotentialAt(i) - DcPotentialAt(i - 1)) / sample + sine;
  // The direction at the middle of the interval, which no rounding at a turn can reverse.
  const double span = std::fabs(end - start);
  const bool outward = std::fmod((i - 0.5) * sample * rate, 2.0 * span) < span;
  return ((outward == (end > start)) ? rate : -rate) + sine;
}

double AcProgram::LargestStep() const {
  const double sine = amplitude * kTwoPi * frequency * sample;
  if (!onProgram) return rate * sample + sine;
  double ramp = 0.0;  // V over one interval
  for (int i = 1; i <= points; ++i)
    ramp = std::max(ramp, std::fabs(DcPotentialAt(i) - IntervalStart(i)));
  return ramp + sine;
}

AcProgram AcProgramOf(const Model& model) {
  AcProgram p;
  p.start = model.StartPotential;
  p.end = model.EndPotential;
  p.rate = model.ScanRate;
  p.amplitude = model.AcAmplitude;
  p.frequency = model.AcFrequency;
  CheckPositive("f (Hz)", p.frequency);
  if (!(p.amplitude >= 0)) {
    throw RuntimeError("Invalid procedure call or argument: ΔE (mV) is " +
                       PlainNumber(p.amplitude * 1000));
  }
  p.sample = Div(1.0, kAcSamplesPerPeriod * p.frequency);
  if (model.AcOnProgram) {
    SetProgramBase(model, p);
  } else {
    SetSweepBase(model, p);
  }
  return p;
}

void BuildAcAxis(Model& model) {
  const AcProgram p = AcProgramOf(model);
  model.NumberOfPoints = p.points;
  model.SweepPoints = p.sweepPoints;
  for (int i = 0; i <= p.points; ++i) {
    model.PotentialX(i) = p.DcPotentialAt(i);
    model.PointTimes(i) = i * p.sample;
  }
}

}  // namespace qalto
