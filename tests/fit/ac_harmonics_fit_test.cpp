// An AC voltammogram fitted on its harmonics' envelopes: a quasi-reversible couple (ks 0.01
// cm/s) simulated as the measured raw current, fitted for ks from 0.1 cm/s on the fundamental and
// second harmonic together, on the second alone, and on the raw current; each recovers ks.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fit/ac_fit_harmonics.h"
#include "fit/fit_curve.h"
#include "simulation/analytical_run_model.h"

namespace qalto {
namespace {

constexpr double kTrueKs = 0.01;  // cm/s
constexpr int kKsCode = 11;

// A + e = B, 1 mM, swept from E0 + 0.15 V to E0 - 0.15 V at 0.1 V/s under 25 mV at 10 Hz.
std::unique_ptr<Model> MeasuredAc() {
  auto m = std::make_unique<Model>(AcRunModel(0.15, 0.1, 0.025, 10));
  m->ChargeKs(1) = kTrueKs;
  EXPECT_TRUE(RunSimulation(*m, StartInputs()).Done());
  m->FitMode = true;  // curve 1 holds the "measured" raw current
  m->CurrentCurve = m->TargetCurve = 2;
  return m;
}

struct HarmonicsCase {
  const char* name;
  int harmonics;  // bits of AcFitHarmonics
  int compared;   // values per point
};

class AcHarmonicsFit : public testing::TestWithParam<HarmonicsCase> {};

TEST_P(AcHarmonicsFit, RecoversKsFromTheChosenEnvelopes) {
  auto m = MeasuredAc();
  m->AcFitHarmonics = GetParam().harmonics;
  ASSERT_EQ(ComparedLength(*m), GetParam().compared * m->NumberOfPoints);
  const std::vector<double> observed = ObservedCurrents(*m);
  ASSERT_EQ(observed.size(), static_cast<size_t>(ComparedLength(*m)) + 1);
  m->ChargeKs(1) = 0.1;
  MarquardtState engine;
  FitContext context{*m, {{kKsCode, 1e-4, 1.0}}, StartInputs(), engine, 1, {}, {}, {}, {}};
  ASSERT_FALSE(FitCurve(context, observed).has_value());
  EXPECT_NEAR(m->ChargeKs(1) / kTrueKs, 1.0, 1e-4) << GetParam().name;
  EXPECT_EQ(m->LastFit.points, ComparedLength(*m));
}

INSTANTIATE_TEST_SUITE_P(Choices, AcHarmonicsFit,
                         testing::Values(HarmonicsCase{"FirstAndSecond", 0b110, 2},
                                         HarmonicsCase{"Second", 0b100, 1},
                                         HarmonicsCase{"RawCurrent", 0, 1}),
                         NameFrom<&HarmonicsCase::name>());

// The compared values are the envelopes the harmonic analysis gives the measured current, one
// harmonic after another, each at the potentials of the curve's points.
TEST(AcFitValues, AreTheMeasuredEnvelopesInOrder) {
  auto m = MeasuredAc();
  m->AcFitHarmonics = 0b101;  // the DC component and the second harmonic
  const int n = m->NumberOfPoints;
  const std::vector<double> y = ObservedValues(*m);
  ASSERT_EQ(y.size(), static_cast<size_t>(2 * n + 1));
  for (int i : {1, n / 2, n}) {
    EXPECT_DOUBLE_EQ(y[static_cast<size_t>(i)], m->AcHarmonics(i, 0));  // the same current
    EXPECT_DOUBLE_EQ(y[static_cast<size_t>(n + i)], m->AcHarmonics(i, 2));
    EXPECT_EQ(CurvePointOf(*m, n + i), i);
  }
  m->Technique = Technique::kSweep;  // a voltammogram compares its current
  EXPECT_TRUE(FittedHarmonics(*m).empty());
  EXPECT_EQ(ComparedLength(*m), n);
}

}  // namespace
}  // namespace qalto
