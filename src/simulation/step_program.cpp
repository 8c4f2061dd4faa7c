#include "simulation/step_program.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/checked_math.h"
#include "common/plain_number.h"
#include "simulation/double_layer.h"

namespace qalto {
namespace {

int PointsOf(double duration, double sample) {
  const double points = std::round(Div(duration, sample));
  if (points >= kMaxPoints + 1.0) {
    throw RuntimeError("Too many points: " + PlainNumber(points) + ", a curve holds at most " +
                       std::to_string(kMaxPoints) + " (a longer t sample (s) or shorter steps)");
  }
  return points > 0 ? static_cast<int>(points) : 0;
}

}  // namespace

double StepProgram::PotentialAt(int i) const {
  if (i <= 0) return rest;
  return i <= firstPoints ? first : second;
}

StepProgram StepProgramOf(const Model& model) {
  StepProgram p;
  p.rest = model.StartPotential;
  p.first = model.StepPotential1;
  p.second = model.StepPotential2;
  p.sample = model.SampleTime;
  if (p.sample == 0) throw RuntimeError("Division by zero: t sample (s) is 0");
  if (!(p.sample > 0))
    throw RuntimeError("Invalid procedure call or argument: t sample (s) is " +
                       PlainNumber(p.sample));
  if (!(model.StepTime1 > 0)) {
    throw RuntimeError("Invalid procedure call or argument: t1 (s) is " +
                       PlainNumber(model.StepTime1));
  }
  p.firstPoints = std::max(1, PointsOf(model.StepTime1, p.sample));
  p.secondPoints = model.StepTime2 > 0 ? PointsOf(model.StepTime2, p.sample) : 0;
  if (p.Points() > kMaxPoints) PointsOf(p.Points() * p.sample, p.sample);
  return p;
}

void BuildStepAxis(Model& model) {
  const StepProgram p = StepProgramOf(model);
  model.NumberOfPoints = p.Points();
  model.SweepPoints = p.firstPoints;
  for (int i = 0; i <= p.Points(); ++i)
    model.PotentialX(i) = i * p.sample;
}

void AddStepCharging(Model& model, double secondJump) {
  const StepProgram p = StepProgramOf(model);
  const int firstPoints = static_cast<int>(model.SweepPoints);
  const double Ru = model.UncompensatedResistance;  // ohm
  const int total = model.TotalCurrentColumn;
  struct Jump {
    double time;  // s
    double dE;    // V
    double Cd;    // F, at the new potential
  };
  const Jump jumps[2] = {{0.0, p.first - p.rest, CapacitanceAt(model, p.first)},
                         {secondJump, p.second - p.first, CapacitanceAt(model, p.second)}};
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    const double t = model.PotentialX(i);  // s
    for (int j = 0; j < (i > firstPoints ? 2 : 1); ++j) {
      const Jump& jump = jumps[j];
      if (jump.Cd == 0.0 || jump.dE == 0.0) continue;
      const double charge = -jump.Cd * jump.dE;  // C, cathodic positive
      const double tc = Ru * jump.Cd;            // s
      const double decay = tc > 0 ? std::exp(-(t - jump.time) / tc) : 0.0;
      model.ReactionCurrents(i, total) += tc > 0 ? Checked(charge / tc * decay) : 0.0;
      model.PassedCharge(i) += charge * (1.0 - decay);
    }
  }
}

}  // namespace qalto
