#include "simulation/ac_program.h"

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

}  // namespace

double AcProgram::DcPotentialAt(double i) const {
  const double span = std::fabs(end - start);  // V
  const double travelled = std::fmod(i * sample * rate, 2.0 * span);
  const double along = travelled <= span ? travelled : 2.0 * span - travelled;
  return start + (end > start ? along : -along);
}

double AcProgram::SineAt(double i) const {
  return amplitude * std::sin(kTwoPi * i / kAcSamplesPerPeriod);
}

double AcProgram::RateAt(double i) const {
  const double span = std::fabs(end - start);
  const bool outward = std::fmod(i * sample * rate, 2.0 * span) < span;
  const double sweep = (outward == (end > start)) ? rate : -rate;
  return sweep + amplitude * kTwoPi * frequency * std::cos(kTwoPi * i / kAcSamplesPerPeriod);
}

double AcProgram::LargestStep() const {
  return (rate + amplitude * kTwoPi * frequency) * sample;
}

AcProgram AcProgramOf(const Model& model) {
  AcProgram p;
  p.start = model.StartPotential;
  p.end = model.EndPotential;
  p.rate = model.ScanRate;
  p.amplitude = model.AcAmplitude;
  p.frequency = model.AcFrequency;
  CheckPositive("f (Hz)", p.frequency);
  CheckPositive("v (V/s)", p.rate);
  if (!(p.amplitude >= 0)) {
    throw RuntimeError("Invalid procedure call or argument: ΔE (mV) is " +
                       PlainNumber(p.amplitude * 1000));
  }
  if (p.start == p.end) {
    throw RuntimeError("Invalid procedure call or argument: E end (V) equals E start (V), " +
                       PlainNumber(p.start));
  }
  p.sample = Div(1.0, kAcSamplesPerPeriod * p.frequency);
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
