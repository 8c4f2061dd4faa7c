#include "simulation/potential_axis.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>

#include "common/checked_math.h"
#include "common/plain_number.h"
#include "common/point_index.h"

namespace qalto {
namespace {

RuntimeError TooManyPoints(double points) {
  return RuntimeError("Too many points: " + PlainNumber(std::round(points)) +
                      ", a curve holds at most " + std::to_string(kMaxPoints) +
                      " (a larger E step (V) or a shorter range)");
}

}  // namespace

void BuildPotentialAxis(Model& model) {
  if (model.PotentialStep == 0) throw RuntimeError("Division by zero: E step (V) is 0");
  double steps = std::fabs(Div(model.EndPotential - model.StartPotential, model.PotentialStep));
  if (steps >= kMaxPoints) throw TooManyPoints(steps + 1);
  int sweep = ToPointIndex(steps) + 1;
  int perCycle = 2 * sweep;
  int count = ToPointIndex(perCycle * model.ScanCycles);
  // Checked before any table is touched, so that a failed run leaves the curve store as it was.
  if (std::max(sweep, count) > kMaxPoints) throw TooManyPoints(std::max(sweep, count));
  model.SweepPoints = sweep;
  model.NumberOfPoints = count;
  // The axis grown to its length at once and written in place; point i is x(i).
  const std::span<double> axis = model.PotentialX.Rows(0, std::max(sweep, count));
  auto x = [&axis](int i) -> double& { return axis[static_cast<size_t>(i)]; };
  for (int i = 0; i <= sweep; ++i) {
    x(i) = model.StartPotential + (i - 1) * model.PotentialStep * model.SweepDirection;
  }
  // The way back and the later cycles copy the first sweep's potentials, bit for bit.
  for (int i = sweep + 1; i <= count; ++i)
    x(i) = x(FirstSweepCounterpart(sweep, i));
}

bool StepOutrunsSweep(double start, double end, double step) {
  const double steps = std::fabs((end - start) / step);
  return step > 0 && std::isfinite(steps) && std::nearbyint(steps) < 1;
}

}  // namespace qalto
