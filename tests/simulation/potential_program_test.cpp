// The potential program (technique 8) against the techniques it can repeat, in both modes: a
// program of two sweeps is technique 1's cyclic voltammogram, a hold at the start potential
// before the sweep its quiet time, a step held for t1 technique 7's chronoamperogram; and the
// programs that cannot be run, refused with words that name what is wrong. An E(t) file's rows
// joined by straight lines: the scenario potential_program (its triangle is technique 1's cycle).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "simulation/analytical_run_model.h"
#include "simulation/program_samples.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

ProgramSegment Sweep(double from, double to, double rate) {
  return {SegmentKind::kSweep, from, to, rate, 0.0};
}
ProgramSegment Hold(double E, double t) {
  return {SegmentKind::kHold, E, 0.0, 0.0, t};
}
ProgramSegment Step(double E, double t) {
  return {SegmentKind::kStep, E, 0.0, 0.0, t};
}

std::vector<double> Currents(const Model& m, int first, int count) {
  std::vector<double> I;
  for (int i = first; i < first + count; ++i)
    I.push_back(m.ReactionCurrents(i, m.TotalCurrentColumn));
  return I;
}

// Digital or analytical, and a cell with an uncompensated resistance and a double layer.
using Mode = std::tuple<bool, bool>;

std::string ModeName(const testing::TestParamInfo<Mode>& info) {
  return std::string(std::get<0>(info.param) ? "Digital" : "Analytical") +
         (std::get<1>(info.param) ? "WithRuCd" : "");
}

class ProgramTest : public testing::TestWithParam<Mode> {
 protected:
  // A + e = B from 0.2 V past E0 = -0.1 V to -0.4 V at 0.1 V/s in 1 mV steps.
  Model Base(int technique) const {
    Model m = AnalyticalRunModel(technique, 1);
    m.DigitalSimulation = std::get<0>(GetParam());
    if (std::get<1>(GetParam())) {
      m.UncompensatedResistance = 200.0;
      m.DoubleLayerCapacitance = 2e-5;
      m.CapacitanceSlope = 1e-6;
    }
    m.SampleTime = m.PotentialStep / m.ScanRate;
    return m;
  }
};

TEST_P(ProgramTest, TwoSweepsAreTheCyclicVoltammogram) {
  Model cv = Base(1);
  cv.ScanCycles = 1;
  RunToTheEnd(cv);
  Model program = Base(8);
  program.Program.segments = {Sweep(0.2, -0.4, 0.1), Sweep(-0.4, 0.2, 0.1)};
  RunToTheEnd(program);
  ASSERT_EQ(program.NumberOfPoints, cv.NumberOfPoints);
  for (int i = 0; i <= cv.NumberOfPoints; ++i)
    ASSERT_NEAR(program.PotentialX(i), cv.PotentialX(i), 1e-12) << "point " << i;
  const int N = cv.NumberOfPoints;
  EXPECT_LE(RelativeDifference(Currents(cv, 1, N), Currents(program, 1, N)), 1e-9);
  EXPECT_NEAR(program.PointTimes(N), N * program.SampleTime, 1e-9);
}

TEST_P(ProgramTest, HoldAtTheStartIsTheQuietTime) {
  Model quiet = Base(1);
  quiet.QuietTime = 0.5;  // s: 50 points of 10 ms
  RunToTheEnd(quiet);
  Model program = Base(8);
  program.Program.segments = {Hold(0.2, 0.5), Sweep(0.2, -0.4, 0.1)};
  RunToTheEnd(program);
  const int N = quiet.NumberOfPoints;
  ASSERT_EQ(program.NumberOfPoints, N + 50);
  EXPECT_LE(RelativeDifference(Currents(quiet, 1, N), Currents(program, 51, N)), 1e-9);
}

// The step's transient from the first sample on: the digital run takes technique 7's sub-steps,
// the analytical one its extrapolated hat weights against technique 7's step integrals, which
// keep within 1e-4 of the converged current.
class StepProgramTest : public ProgramTest {};

TEST_P(StepProgramTest, StepHeldIsTheChronoamperogram) {
  Model steps = Base(7);
  steps.StepPotential1 = -0.5;
  steps.StepTime1 = 1.0;
  steps.SampleTime = 0.01;
  RunToTheEnd(steps);
  Model program = Base(8);
  program.SampleTime = 0.01;
  program.Program.segments = {Step(-0.5, 1.0)};
  RunToTheEnd(program);
  ASSERT_EQ(program.NumberOfPoints, 100);
  const std::vector<double> a = Currents(steps, 1, 100);
  const std::vector<double> b = Currents(program, 1, 100);
  for (std::size_t k = 0; k < a.size(); ++k)
    EXPECT_NEAR(b[k] / a[k], 1.0, 1e-4) << "sample " << k + 1;
}

// A measured curve's own instants, uneven: the cycle above resampled every 10 ms +-45 % with a
// gap of 0.2 s, the turn one of its rows. The current at each instant is that of the cycle run
// every millisecond, interpolated there: the rows' fine grid (1/8 of their mean step) and the
// interpolation keep within 1.5e-4 of the peak (1.1e-4 measured, at the turn), where the mean
// step's samples would stand up to 0.2 s off.
TEST_P(ProgramTest, CurrentAtTheInstantsIsTheFineRunsThere) {
  Model fine = Base(8);
  fine.Program.fromFile = true;
  fine.Program.fileName = "cycle.csv";
  fine.Program.fileTimes = {0.0, 6.0, 12.0};
  fine.Program.filePotentials = {0.2, -0.4, 0.2};
  fine.SampleTime = 1e-3;
  RunToTheEnd(fine);
  ASSERT_EQ(fine.NumberOfPoints, 12001);
  Model rows = Base(8);
  rows.Program = fine.Program;
  rows.Program.atRows = true;
  std::vector<double>& T = rows.Program.fileTimes;
  T = {0.0};
  for (int k = 1; T.back() < 12.0 - 0.015; ++k) {
    const double next = T.back() + (k == 300 ? 0.2 : 0.01 * (1.0 + 0.45 * std::sin(1.7 * k)));
    if (T.back() < 6.0 && next > 6.0) T.push_back(6.0);
    T.push_back(next);
  }
  T.push_back(12.0);
  rows.Program.filePotentials.clear();
  for (double t : T)
    rows.Program.filePotentials.push_back(t <= 6.0 ? 0.2 - 0.1 * t : -0.4 + 0.1 * (t - 6.0));
  RunToTheEnd(rows);
  const int N = static_cast<int>(T.size());
  ASSERT_EQ(rows.NumberOfPoints, N);
  std::vector<double> expected;
  for (double t : T) {
    const int k = std::min(static_cast<int>(t / 1e-3), 11999);  // point k + 1 at k ms
    const double share = t / 1e-3 - k;
    const double a = fine.ReactionCurrents(k + 1, fine.TotalCurrentColumn);
    const double b = fine.ReactionCurrents(k + 2, fine.TotalCurrentColumn);
    expected.push_back(a + share * (b - a));
  }
  // The first instant follows the end of the rest, one step of its own grid before it.
  expected.erase(expected.begin());
  EXPECT_LE(RelativeDifference(expected, Currents(rows, 2, N - 1)), 1.5e-4);
  EXPECT_EQ(rows.PointTimes(N), 12.0);
  EXPECT_DOUBLE_EQ(rows.PotentialX(N), 0.2);
}

INSTANTIATE_TEST_SUITE_P(Modes, ProgramTest, testing::Combine(testing::Bool(), testing::Bool()),
                         ModeName);
// Technique 7 charges its double layer apart from the faradaic current: the cell stays ideal.
INSTANTIATE_TEST_SUITE_P(Modes, StepProgramTest,
                         testing::Combine(testing::Bool(), testing::Values(false)), ModeName);

// A sweep of no rate and one beyond the potential range: the scenario potential_program, word
// for word.
struct Refusal {
  const char* name;
  std::optional<ProgramSegment> segment;
  double sample;
  const char* words;
};

class ProgramRefusalTest : public testing::TestWithParam<Refusal> {};

TEST_P(ProgramRefusalTest, NamesWhatIsWrong) {
  PotentialProgram program;
  if (GetParam().segment) program.segments = {*GetParam().segment};
  const auto problem = ProgramProblem(program, GetParam().sample, 0.2);
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(*problem, GetParam().words);
  EXPECT_THROW(SampleProgram(program, GetParam().sample, 0.2), RuntimeError);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramRefusalTest,
    testing::Values(
        Refusal{"NegativeTime", Hold(0.2, -1), 0.01,
                "segment 1 (hold): t (s) is -1; allowed: 0 or more"},
        Refusal{"StepOutOfRange", Step(11, 1), 0.01,
                "segment 1 (step): E (V) is 11; allowed: between -10 and 10"},
        Refusal{"NoSegment", std::nullopt, 0.01, "no segment (choose a kind in a row)"},
        Refusal{"NoTime", Step(0.1, 0), 0.01, "no sample: its segments take no time"},
        Refusal{"NoSampleTime", Hold(0.2, 1), 0, "t sample (s) is 0; allowed: greater than 0"},
        Refusal{"TooManyPoints", Hold(0.2, 20), 1e-4,
                "200000 points at t sample (s) .0001, a curve holds at most 100000"},
        Refusal{"TenMillionSecondsAtOneMillisecond", Hold(0.2, 1e7), 1e-3,
                "10000000000 points at t sample (s) .001, a curve holds at most 100000"},
        Refusal{"BillionPointsOfSweep", Sweep(0.2, -0.4, 1e-6), 6e-4,
                "1000000001 points at t sample (s) .0006, a curve holds at most 100000"},
        Refusal{"PointsBeyondCounting", Hold(0.2, 1e300), 1e-10,
                "more than 100000 points at t sample (s) 1E-10, a curve holds at most 100000"}),
    NameFrom<&Refusal::name>());

// The digital run divides every sample as finely as its steepest ramp needs (1 mV a sub-step):
// 18 V within one sample of a 99 s program would be 1.8e9 sub-steps, refused at once.
TEST(ProgramCostTest, SteepRampInALongProgramIsRefusedBeforeItsFirstStep) {
  Model m = AnalyticalRunModel(8, 1);
  m.DigitalSimulation = true;
  m.Program.fromFile = true;
  m.Program.fileName = "ramp.csv";
  m.Program.fileTimes = {0.0, 0.001, 99.0};
  m.Program.filePotentials = {-9.0, 9.0, 9.0};
  m.SampleTime = 0.001;
  EXPECT_TRUE(RefusedSaying(
      m,
      "Too many time steps: 1782018000 (99001 samples of 18000 for a ramp of 18 V within one "
      "t sample (s) .001), the digital simulation takes at most 10000000"));
}

}  // namespace
}  // namespace qalto
