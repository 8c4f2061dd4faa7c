// A measured chronoamperogram at uneven instants, computed on the fine grid of its steps and
// read at each instant, in both modes: Cottrell's current and the double step's reverse current
// against the textbook, a quasi-reversible step against direct runs whose last sample is the
// instant itself, the double layer's charging at the instants, the real EC-Lab file's instants,
// and instants outside the steps refused by name.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "common/constants.h"
#include "files/import_data.h"
#include "simulation/analytical_run_model.h"
#include "simulation/step_instants.h"

namespace qalto {
namespace {

// An instrument that records on a change of current of 4 % or every 50 ms, on a clock of
// 0.2 ms that jitters by a third of its tick: dense after the step at `from` (s), sparse later,
// up to `to` (s), the last instant at `to`.
std::vector<double> LoggedInstants(double from, double to) {
  constexpr double kTick = 2e-4;  // s
  std::vector<double> t;
  double tick = 0;  // ticks since the step
  for (int k = 1;; ++k) {
    tick = std::max(tick + 1, std::ceil(std::min(tick * 1.04, tick + 0.05 / kTick)));
    const double next = from + (tick + 0.33 * std::sin(1.7 * k)) * kTick;
    if (next >= to) break;
    t.push_back(next);
  }
  t.push_back(to);
  return t;
}

// A + e = B, 1 mM of A, stepped from 0.2 V to 0.4 V past E0 for t1 (then back to 0.2 V for t2),
// the curve's points at the instants as a fit gives them.
Model StepsAt(bool digital, const std::vector<double>& instants, double t1, double t2) {
  Model m = AnalyticalRunModel(7, 1);
  m.DigitalSimulation = digital;
  LimitingStep(m, t1, 0.01);
  m.StepPotential2 = m.StartPotential;
  m.StepTime2 = t2;
  m.FitMode = true;
  m.NumberOfPoints = static_cast<int>(instants.size());
  for (int i = 1; i <= m.NumberOfPoints; ++i)
    m.PotentialX(i) = instants[static_cast<std::size_t>(i - 1)];
  return m;
}

// The same steps simulated every t / 200 up to t: the current at t of a direct fine run.
double DirectCurrentAt(const Model& steps, double t) {
  Model direct = steps;
  direct.FitMode = false;
  direct.StepTime1 = t;
  direct.StepTime2 = 0;
  direct.SampleTime = t / 200;
  RunToTheEnd(direct);
  return direct.ReactionCurrents(200, direct.TotalCurrentColumn);
}

double Current(const Model& m, std::size_t k) {
  return m.ReactionCurrents(static_cast<int>(k) + 1, m.TotalCurrentColumn);
}

// The integral equation is within 1e-4 of Cottrell at its samples, the digital simulation
// within 0.1 % over its first samples after a jump: the instants are as close.
double TextbookTolerance(bool digital) {
  return digital ? 1.5e-3 : 1e-4;
}

class UnevenStepsTest : public testing::TestWithParam<bool> {};

// Cottrell's current up to 1 s, then back to the start: nFAC sqrt(D/pi) (1/sqrt(t) -
// 1/sqrt(t - 1)) after it, each instant within the tolerance of its own current.
TEST_P(UnevenStepsTest, DoubleStepAtEveryInstant) {
  std::vector<double> t = LoggedInstants(0.0, 1.0);
  ASSERT_GT(t.size(), 140u);
  for (double u : LoggedInstants(1.0, 2.0))
    t.push_back(u);
  Model m = StepsAt(GetParam(), t, 1.0, 1.0);
  RunToTheEnd(m);
  ASSERT_EQ(m.NumberOfPoints, static_cast<int>(t.size()));
  EXPECT_EQ(m.SweepPoints, static_cast<int>(t.size()) / 2);
  EXPECT_EQ(m.SampleTime, 0.01);  // the boxes are the user's again
  EXPECT_EQ(m.StepTime1, 1.0);
  for (std::size_t k = 0; k < t.size(); ++k) {
    const double expected = t[k] <= 1.0 ? Cottrell(t[k]) : Cottrell(t[k]) - Cottrell(t[k] - 1.0);
    EXPECT_NEAR(Current(m, k) / expected, 1.0, TextbookTolerance(GetParam())) << t[k];
  }
}

// ks = 0.005 cm/s, 50 mV past E0: the current at every seventh instant within 1e-4 of a
// direct run of 200 samples ending there (measured: 6e-6 analytical, 1e-4 digital).
TEST_P(UnevenStepsTest, QuasiReversibleStepAsDirectRuns) {
  const std::vector<double> t = LoggedInstants(0.0, 1.0);
  Model m = StepsAt(GetParam(), t, 1.0, 0.0);
  m.ChargeKs(1) = 0.005;
  m.StepPotential1 = kRunE0 - 0.05;
  const Model steps = m;
  RunToTheEnd(m);
  for (std::size_t k = 0; k < t.size(); k += 7)
    EXPECT_NEAR(Current(m, k) / DirectCurrentAt(steps, t[k]), 1.0, 2e-4) << t[k];
}

// An instant 50 us after the step of a curve of 1 s: the integral equation's grid of 4000
// instants extrapolates it from the first four (within 1e-4 for Cottrell's current, 1e-3 for
// a quasi-reversible one); the digital grid reaches it.
TEST_P(UnevenStepsTest, InstantCloserToTheStepThanTheGrid) {
  std::vector<double> t = {5e-5};
  for (int k = 1; k < 100; ++k)
    t.push_back(k * 0.01 + 1e-4 * std::sin(k));
  t.push_back(1.0);
  Model m = StepsAt(GetParam(), t, 1.0, 0.0);
  RunToTheEnd(m);
  EXPECT_EQ(m.SweepPoints, m.NumberOfPoints);  // a single step
  EXPECT_NEAR(Current(m, 0) / Cottrell(t[0]), 1.0, TextbookTolerance(GetParam()));
  m = StepsAt(GetParam(), t, 1.0, 0.0);
  m.ChargeKs(1) = 0.005;
  m.StepPotential1 = kRunE0 - 0.05;
  const Model steps = m;
  RunToTheEnd(m);
  for (std::size_t k : {0u, 1u, 50u})
    EXPECT_NEAR(Current(m, k) / DirectCurrentAt(steps, t[k]), 1.0, 1e-3) << t[k];
}

// Cd = 20 uF through Ru = 50 ohm charges at the instants themselves: the total current is the
// faradaic one plus Cd dE / (Ru Cd) e^(-(t - jump) / Ru Cd) of each jump before the instant.
TEST_P(UnevenStepsTest, ChargingAtTheInstants) {
  std::vector<double> t = LoggedInstants(0.0, 1.0);
  for (double u : LoggedInstants(1.0, 2.0))
    t.push_back(u);
  const double tc = 50 * 2e-5;  // s
  Model withDrop = StepsAt(GetParam(), t, 1.0, 1.0);
  withDrop.DoubleLayerCapacitance = 2e-5;
  withDrop.UncompensatedResistance = 50;
  Model dropOnly = StepsAt(GetParam(), t, 1.0, 1.0);
  dropOnly.UncompensatedResistance = 50;
  RunToTheEnd(withDrop);
  RunToTheEnd(dropOnly);
  const double dE = -0.4 - (0.2 - kRunE0);  // V, the first jump; the second returns it
  for (std::size_t k = 0; k < t.size(); ++k) {
    double expected = -2e-5 * dE / tc * std::exp(-t[k] / tc);
    if (t[k] > 1.0) expected += 2e-5 * dE / tc * std::exp(-(t[k] - 1.0) / tc);
    EXPECT_NEAR(Current(withDrop, k) - Current(dropOnly, k), expected,
                1e-12 + 1e-9 * std::fabs(expected))
        << t[k];
  }
}

INSTANTIATE_TEST_SUITE_P(BothModes, UnevenStepsTest, testing::Bool(), ModeName);

// EC-Lab's chronoamperogram of 12 h, a point a minute (the last 0.074 s early): its 720 instants
// are the samples of t sample 60 s within 2e-6 of their times; with t sample 45 s they are not,
// and the fine grid computes them. Both give Cottrell's current there, and the same.
TEST(UnevenStepsOfEcLab, FileInstantsOnAndOffTheSamples) {
  const std::filesystem::path file =
      std::filesystem::path(QALTO_INSTRUMENTS_DIR) / "biologic_mpr" / "ca.mpt";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no " << file;
  Model reader;
  reader.Technique = Technique::kChronoamperometry;
  Expected<ImportedFile> read = ReadImportFile(file.string());
  ASSERT_TRUE(read) << read.Error().message;
  const ImportResult imported = PrepareImport(reader, read.Value(), 1);
  ASSERT_TRUE(imported.ok);
  const std::vector<double>& t = imported.curves.front().potential;
  ASSERT_EQ(t.size(), 720u);
  for (bool digital : {false, true}) {
    Model on = StepsAt(digital, t, t.back(), 0.0);
    on.SampleTime = t.back() / 720;
    Model off = on;
    off.SampleTime = 45;
    RunToTheEnd(on);
    RunToTheEnd(off);
    for (std::size_t k = 0; k < t.size(); ++k) {
      EXPECT_NEAR(Current(on, k) / Cottrell(t[k]), 1.0, TextbookTolerance(digital)) << t[k];
      EXPECT_NEAR(Current(off, k) / Cottrell(t[k]), 1.0, TextbookTolerance(digital)) << t[k];
    }
  }
}

struct Refusal {
  const char* name;
  std::vector<double> instants;
  double t2;
  const char* words;
};

std::vector<double> Instants(auto... t) {
  return {t...};
}

class UnevenStepsRefusalTest : public testing::TestWithParam<Refusal> {};

TEST_P(UnevenStepsRefusalTest, NamesThePoint) {
  Model m = StepsAt(true, GetParam().instants, 1.0, GetParam().t2);
  EXPECT_TRUE(RefusedSaying(m, GetParam().words));
  EXPECT_EQ(m.NumberOfPoints, static_cast<int>(GetParam().instants.size()));
  EXPECT_EQ(m.SampleTime, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Instants, UnevenStepsRefusalTest,
    testing::Values(Refusal{"AfterTheEnd", Instants(0.1, 0.5, 1.5, 2.5), 1.0,
                            "point 4 of the data lies at 2.5 s, after the steps end at 2 s (t1 "
                            "(s) 1, t2 (s) 1)"},
                    Refusal{"AfterASingleStep", Instants(0.1, 0.5, 1.5), 0.0,
                            "point 3 of the data lies at 1.5 s, after the steps end at 1 s"},
                    Refusal{"AtTheStep", Instants(0.0, 0.5), 0.0,
                            "point 1 of the data lies at 0 s, at or before the step"},
                    Refusal{"BackInTime", Instants(0.1, 0.5, 0.4), 0.0,
                            "point 3 of the data lies at .4 s, not after point 2 (.5 s)"}),
    NameFrom<&Refusal::name>());

}  // namespace
}  // namespace qalto
