#include "simulation/potential_axis.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/point_index.h"

namespace qalto {

void BuildPotentialAxis(Model& model) {
  auto& x = model.PotentialX;
  int sweep =
      ToPointIndex(std::fabs(Div(model.EndPotential - model.StartPotential, model.PotentialStep))) +
      1;
  model.SweepPoints = sweep;
  int perCycle = ToPointIndex(2.0 * sweep);
  model.NumberOfPoints = ToPointIndex(perCycle * model.ScanCycles);
  for (int i = 0; i <= sweep; ++i) {
    x(i) = model.StartPotential + (i - 1) * model.PotentialStep * model.SweepDirection;
  }
  if (model.ScanCycles >= 1) {
    for (int i = 1; i <= sweep; ++i)
      x(sweep + i) = x(sweep - i + 1);
  }
  for (int c = 2; c <= model.ScanCycles; ++c) {
    for (int i = 1; i <= perCycle; ++i)
      x(i + (c - 1) * perCycle) = x(i);
  }
}

}  // namespace qalto
