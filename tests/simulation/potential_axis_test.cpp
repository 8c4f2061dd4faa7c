// The potential axis of a sweep and the counterpart of each point in the first sweep, which the
// digital run trusts to find a potential it has had before.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "model/model.h"
#include "simulation/potential_axis.h"

namespace qalto {
namespace {

// E start, E end, E step (V) and the scan's cycles (0.5 a single sweep).
using Axis = std::tuple<double, double, double, double>;

class FirstSweepCounterpartTest : public ::testing::TestWithParam<Axis> {};

// Every point's counterpart lies in the first sweep and has its potential to the last bit: off by
// one point, the way back would read the rates of a potential one step away.
TEST_P(FirstSweepCounterpartTest, HasThePotentialOfThePointBitForBit) {
  const auto [start, end, step, cycles] = GetParam();
  auto m = std::make_unique<Model>();
  m->StartPotential = start;
  m->EndPotential = end;
  m->PotentialStep = step;
  m->SweepDirection = end < start ? -1 : 1;
  m->ScanCycles = cycles;
  BuildPotentialAxis(*m);
  const int sweep = m->SweepPoints;
  int repeated = 0;
  for (int i = 1; i <= m->NumberOfPoints; ++i) {
    const int first = FirstSweepCounterpart(sweep, i);
    ASSERT_GE(first, 1) << i;
    ASSERT_LE(first, std::min(i, sweep)) << i;
    EXPECT_EQ(m->PotentialX(first), m->PotentialX(i)) << "point " << i << ", counterpart " << first;
    repeated += first != i;
  }
  EXPECT_EQ(repeated, std::max(0, m->NumberOfPoints - sweep));
}

INSTANTIATE_TEST_SUITE_P(Sweeps, FirstSweepCounterpartTest,
                         ::testing::Values(Axis{0.3, -0.3, 0.001, 0.5}, Axis{0.3, -0.3, 0.001, 1},
                                           Axis{-0.5, 0.7, 0.003, 2}, Axis{0.2, -0.4, 0.0025, 3},
                                           Axis{0.0, 1e-3, 1e-4, 3}));

}  // namespace
}  // namespace qalto
