// The raw current of a measured AC voltammogram read as a time series: interpolated at the AC
// program's instants from the file's own times, refused with the reason where it cannot be, and
// fitted on its harmonics' envelopes after the import.
#include "files/ac_time_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "analysis/ac_harmonics.h"
#include "app/app_fixture.h"
#include "common/test_names.h"
#include "files/import_data.h"
#include "fit/fit_curve.h"
#include "model/measured_ac.h"
#include "model/point_time.h"
#include "plot/ac_plot.h"
#include "plot/plotter.h"
#include "simulation/ac_program.h"
#include "simulation/analytical_run_model.h"
#include "simulation/curve_slot.h"

namespace qalto {
namespace {

// A + e = B swept from E0 + 0.15 V to E0 - 0.15 V at 0.1 V/s under 25 mV at 10 Hz: 1920 points.
Model AcModel() {
  return AcRunModel(0.15, 0.1, 0.025, 10);
}

// The curve imported as a delimited file's time series of technique 9, into slot 1 or, with
// overlap, the next slot.
void ImportSeries(Model& m, ImportedCurve curve, bool overlap = false) {
  ImportedFile file;
  file.format = "delimited text";
  curve.source = "acv.csv";
  file.curves = {std::move(curve)};
  const ImportResult prepared = PrepareImport(m, file, 1);
  ASSERT_TRUE(prepared.ok) << (prepared.messages.empty() ? "" : prepared.messages.front());
  StoreImportedCurves(m, prepared, overlap, std::nullopt);
}

// A fundamental of 2 uA and a second harmonic of 0.3 uA sampled 200 times a period from 12.5 s:
// at the program's instants within the linear interpolation's (pi/200)^2/2 of the amplitude,
// their envelopes the two amplitudes, the potentials the sweep's.
TEST(AcTimeSeries, InterpolatesTheCurrentAtTheProgramsInstants) {
  const Model m = AcModel();
  const double f = m.AcFrequency, a1 = 2e-6, a2 = 0.3e-6;
  auto current = [&](double t) {
    return a1 * std::sin(kTwoPi * f * t + 0.3) + a2 * std::sin(2 * kTwoPi * f * t + 1.1);
  };
  ImportedCurve curve;
  for (int j = 0; j <= 200 * 40; ++j) {  // 4 s of the program's 3
    const double t = j / (200 * f);
    curve.time.push_back(12.5 + t);
    curve.potential.push_back(0.0);
    curve.current.push_back(current(t));
  }
  ASSERT_FALSE(SampleOnAcProgram(m, curve).has_value());
  ASSERT_EQ(curve.current.size(), 1920u);
  const double dt = PointTime(m);
  for (size_t i : {0u, 777u, 1919u}) {
    EXPECT_NEAR(curve.time[i], (i + 1.0) * dt, 1e-12);
    EXPECT_NEAR(curve.current[i], current((i + 1.0) * dt), 2.5e-4 * a1);
    EXPECT_NEAR(curve.potential[i], AcProgramOf(m).DcPotentialAt(static_cast<int>(i) + 1), 1e-12);
  }
  const AcHarmonicsResult h = AcHarmonics(curve.current, dt, f);
  EXPECT_NEAR(h.envelope[1][960] / a1, 1.0, 1e-3);
  EXPECT_NEAR(h.envelope[2][960] / a2, 1.0, 1e-3);
}

// A measured series of known harmonics (5 uA DC, 2 uA at f, 0.3 uA at 2 f, 0.1 uA at 3 f, each
// at its own phase, 200 samples a period from 7 s on) imported with technique 9 shows, for each
// of the display options' AC choices, its own DC component (cathodic positive in the store) or
// envelope within 1 %; its power spectrum holds each sine's squared amplitude at k f within 1 %,
// and "current I" shows the raw current again, exactly.
struct ShownHarmonic {
  const char* quantity;
  int harmonic;
  double value;  // A, as the store shows it
};

class MeasuredHarmonicsTest : public testing::TestWithParam<ShownHarmonic> {};

// Imports the series into the next slot (overlap) or slot 1.
void ImportKnownHarmonics(Model& m, bool overlap) {
  const double f = m.AcFrequency;
  const double amplitude[] = {5e-6, 2e-6, 0.3e-6, 0.1e-6};
  ImportedCurve curve;
  for (int j = 0; j <= 200 * 40; ++j) {
    const double t = j / (200 * f);
    double I = amplitude[0];
    for (int k = 1; k <= 3; ++k)
      I += amplitude[k] * std::sin(k * kTwoPi * f * t + 0.4 * k);
    curve.time.push_back(7 + t);
    curve.potential.push_back(0.0);
    curve.current.push_back(I);  // anodic positive, as the file has it
  }
  ImportSeries(m, curve, overlap);
}

TEST_P(MeasuredHarmonicsTest, ShowsItsOwnDcAndEnvelopes) {
  Model m = AcModel();
  const double f = m.AcFrequency;
  ImportKnownHarmonics(m, false);
  ASSERT_TRUE(HoldsMeasuredAc(m, 1));
  const std::vector<double> raw = MeasuredAcRaw(m, 1);
  const ShownHarmonic c = GetParam();
  PrepareMeasuredAcCurves(m, c.quantity);
  for (int i : {480, 960, 1440})
    EXPECT_NEAR(m.CurrentY(i, 1) / c.value, 1.0, 0.01) << c.quantity << " at point " << i;
  if (c.harmonic > 0) {
    const AcHarmonicsResult h = MeasuredAcHarmonics(m, 1);
    size_t at = 0;
    while (at + 1 < h.frequency.size() && h.frequency[at] < c.harmonic * f - 1e-9)
      ++at;
    EXPECT_NEAR(h.power[at] / (c.value * c.value), 1.0, 0.01) << h.frequency[at] << " Hz";
  }
  EXPECT_EQ(MeasuredAcRaw(m, 1), raw);
  PrepareMeasuredAcCurves(m, "current I");
  EXPECT_EQ(Curve(m, 1), raw);
}

INSTANTIATE_TEST_SUITE_P(Choices, MeasuredHarmonicsTest,
                         testing::Values(ShownHarmonic{"DC component", 0, -5e-6},
                                         ShownHarmonic{"harmonic 1", 1, 2e-6},
                                         ShownHarmonic{"harmonic 2", 2, 0.3e-6},
                                         ShownHarmonic{"harmonic 3", 3, 0.1e-6}),
                         NameFrom<&ShownHarmonic::quantity>());

// A run in slot 1, then the series imported beside it as the current curve: "harmonics 1-8"
// fills slots 1..8 with the series' own eight envelopes (2, 0.3 and 0.1 uA within 1 %, the
// others below 1 % of the smallest), not the run's; "current I" gives the slots back as they
// were (the run's curve, the raw current, two curves), and so does the next simulation's slot.
TEST(MeasuredHarmonics, AllEightAreTheCurrentCurvesOwn) {
  Model m = AcModel();
  RunToTheEnd(m);
  ASSERT_GT(m.AcSpectrumPoints, 0);
  ImportKnownHarmonics(m, true);
  ASSERT_EQ(m.CurrentCurve, 2);
  ASSERT_TRUE(HoldsMeasuredAc(m, 2));
  const std::vector<double> raw = MeasuredAcRaw(m, 2), run = Curve(m, 1);
  PlotOptions options;
  options.quantity = "harmonics 1-8";
  PrepareCurves(m, options, nullptr);
  ASSERT_EQ(m.CurveCount, 8);
  const double expected[] = {2e-6, 0.3e-6, 0.1e-6};
  for (int k = 1; k <= 8; ++k) {
    for (int i : {480, 960, 1440}) {
      if (k <= 3) {
        EXPECT_NEAR(m.CurrentY(i, k) / expected[k - 1], 1.0, 0.01) << "harmonic " << k;
      } else {
        EXPECT_LT(std::fabs(m.CurrentY(i, k)), 1e-9) << "harmonic " << k;
      }
    }
  }
  EXPECT_EQ(MeasuredAcRaw(m, 2), raw);
  PrepareMeasuredAcCurves(m, "current I");
  ASSERT_EQ(m.CurveCount, 2);
  EXPECT_EQ(Curve(m, 1), run);
  EXPECT_EQ(Curve(m, 2), raw);
  PrepareMeasuredAcCurves(m, "harmonics 1-8");
  ASSERT_EQ(m.CurveCount, 8);
  SelectCurveSlot(m, true);
  EXPECT_EQ(m.CurveCount, 3);
  EXPECT_EQ(m.CurrentY(960, 1), run[959]);
  EXPECT_EQ(MeasuredAcRaw(m, 2), raw);
}

// Two runs side by side: "harmonics 1-8" fills slots 1..8 with the last run's envelopes, and
// "current I" gives the first run's curve back beside the last run's current, two curves.
TEST(SimulatedHarmonics, AllEightGiveTheCurvesShownBackAfterwards) {
  Model m = AcModel();
  RunToTheEnd(m);
  const std::vector<double> first = Curve(m, 1);
  m.ChargeKs(1) = 1e-3;
  SimulationInputs beside = StartInputs();
  beside.overlapChecked = true;
  ASSERT_TRUE(RunSimulation(m, beside).Done());
  ASSERT_EQ(m.CurrentCurve, 2);
  PlotOptions options;
  options.quantity = "harmonics 1-8";
  PrepareCurves(m, options, nullptr);
  ASSERT_EQ(m.CurveCount, 8);
  EXPECT_EQ(m.CurrentY(960, 1), m.AcHarmonics(960, 1));
  EXPECT_EQ(m.CurrentY(960, 8), m.AcHarmonics(960, 8));
  options.quantity = "current I";
  PrepareCurves(m, options, nullptr);
  ASSERT_EQ(m.CurveCount, 2);
  EXPECT_EQ(Curve(m, 1), first);
  EXPECT_NE(m.CurrentY(960, 2), first[959]);
}

TEST(AcTimeSeries, RefusesWhatItCannotTakeWithTheReason) {
  struct Case {
    void (*change)(Model&, ImportedCurve&);
    const char* text;
  };
  const Case cases[] = {
      {[](Model&, ImportedCurve& c) { c.time.clear(); },
       "it records no time column: an AC voltammogram is read as a time series"},
      {[](Model&, ImportedCurve& c) { c.time[5] = c.time[4]; },
       "its time does not rise at point 6 (.004 s)"},
      {[](Model&, ImportedCurve& c) {
         for (double& t : c.time)
           t *= 2;
       },
       "it samples the current every .002 s, fewer than 64 points a period of f (Hz) 10"},
      {[](Model& m, ImportedCurve&) { m.AcFrequency = 0; },
       "the AC program cannot be made: Division by zero: f (Hz) is 0"},
  };
  for (const Case& c : cases) {
    Model m = AcModel();
    ImportedCurve curve;
    for (int j = 0; j < 1000; ++j) {  // every ms: 100 points a period
      curve.time.push_back(j * 1e-3);
      curve.potential.push_back(0.0);
      curve.current.push_back(0.0);
    }
    c.change(m, curve);
    const auto problem = SampleOnAcProgram(m, curve);
    ASSERT_TRUE(problem.has_value()) << c.text;
    EXPECT_EQ(*problem, c.text);
  }
}

// A quasi-reversible voltammogram (ks 0.01 cm/s) written as a file's time series (anodic
// current positive, from 3 s on) and imported with technique 9 is the simulated curve again, and
// its second harmonic shown is the simulation's; fitted on its first and second harmonics from
// ks 0.1 cm/s while it shows that harmonic, it gives ks back.
TEST(AcTimeSeries, ImportedVoltammogramIsFittedOnItsHarmonics) {
  Model m = AcModel();
  m.ChargeKs(1) = 0.01;
  ASSERT_TRUE(RunSimulation(m, StartInputs()).Done());
  ImportedCurve curve;
  for (int i = 0; i <= m.NumberOfPoints; ++i) {
    curve.time.push_back(3.0 + m.PointTimes(i));
    curve.potential.push_back(m.StartPotential);
    curve.current.push_back(i == 0 ? 0.0 : -m.CurrentY(i, 1));
  }
  const Model truth = m;
  ImportSeries(m, curve);
  ASSERT_EQ(m.NumberOfPoints, truth.NumberOfPoints);
  for (int i : {1, 1000, m.NumberOfPoints}) {
    EXPECT_NEAR(m.CurrentY(i, 1), truth.CurrentY(i, 1), 1e-12 * std::fabs(truth.CurrentY(i, 1)));
    EXPECT_DOUBLE_EQ(m.PotentialX(i), truth.PotentialX(i));
  }
  PrepareMeasuredAcCurves(m, "harmonic 2");
  for (int i : {300, 1000, 1500})
    EXPECT_NEAR(m.CurrentY(i, 1), truth.AcHarmonics(i, 2), 1e-9 * truth.AcHarmonics(i, 2));
  m.FitMode = true;
  m.AcFitHarmonics = 0b110;
  m.ChargeKs(1) = 0.1;
  MarquardtState engine;
  FitContext context{m, {{11, 1e-4, 1.0}}, StartInputs(), engine, 1, {}, {}, {}, {}};
  ASSERT_FALSE(FitCurve(context, ObservedCurrents(m)).has_value());
  EXPECT_NEAR(m.ChargeKs(1) / 0.01, 1.0, 1e-4);
}

}  // namespace
}  // namespace qalto
