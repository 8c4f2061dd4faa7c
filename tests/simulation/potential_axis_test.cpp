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

// The axis is a triangle: out from E start in steps of E step, back with the vertex taken twice,
// and again for each cycle; every repeated potential is its first-sweep counterpart's to the last
// bit, which the digital run relies on to reuse the rates computed there.
TEST_P(FirstSweepCounterpartTest, TheAxisRetracesItsFirstSweepBitForBit) {
  const auto [start, end, step, cycles] = GetParam();
  auto m = std::make_unique<Model>();
  m->StartPotential = start;
  m->EndPotential = end;
  m->PotentialStep = step;
  m->SweepDirection = end < start ? -1 : 1;
  m->ScanCycles = cycles;
  BuildPotentialAxis(*m);
  const int sweep = m->SweepPoints;
  EXPECT_EQ(m->NumberOfPoints, static_cast<int>(2 * sweep * cycles));
  for (int i = 1; i <= m->NumberOfPoints; ++i) {
    const int phase = (i - 1) % (2 * sweep);  // steps into the present cycle
    const int out = phase < sweep ? phase : 2 * sweep - 1 - phase;  // steps out from E start
    EXPECT_NEAR(m->PotentialX(i), start + out * step * m->SweepDirection, 1e-12) << i;
    const int first = FirstSweepCounterpart(sweep, i);
    ASSERT_EQ(first, out + 1) << i;
    EXPECT_EQ(m->PotentialX(first), m->PotentialX(i)) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Sweeps, FirstSweepCounterpartTest,
                         ::testing::Values(Axis{0.3, -0.3, 0.001, 0.5}, Axis{0.3, -0.3, 0.001, 1},
                                           Axis{-0.5, 0.7, 0.003, 2}, Axis{0.2, -0.4, 0.0025, 3},
                                           Axis{0.0, 1e-3, 1e-4, 3}));

}  // namespace
}  // namespace qalto
