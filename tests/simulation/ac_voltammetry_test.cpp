// AC voltammetry against the textbook (Smith's small-amplitude a.c. polarography, as given in
// Bard and Faulkner, Electrochemical Methods, 2nd ed., section 10.5): the quasi-reversible
// couple's fall with ks, the double layer's charging through Ru, and the refusals of impossible
// programs. The reversible couple's fundamental (Smith's height at E1/2, its place and width)
// and its second harmonic (zero at E1/2, the lobe 33.8 mV from it): the scenario ac_voltammetry.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <vector>

#include "common/constants.h"
#include "common/curve_peak.h"
#include "model/point_time.h"
#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

constexpr double kC = kRunC * 1e-3;   // mol/cm3
constexpr double kAmplitude = 0.005;  // V
constexpr double kFrequency = 10.0;   // Hz

// A + e = B (1 mM, D 1e-5 cm2/s, 1 cm2) swept from E0 + 0.2 V to E0 - 0.2 V at 0.05 V/s under
// a sine of 5 mV at 10 Hz: 8 s, 5120 points.
std::unique_ptr<Model> AcModel(Electrode electrode = Electrode::kPlanar) {
  return std::make_unique<Model>(AcRunModel(0.2, 0.05, kAmplitude, kFrequency, electrode));
}

// Smith's reversible fundamental at E1/2 (below), A.
double SmithHeight(const Model& m, double f = kFrequency) {
  const double RT = kGasConstant * m.Temperature;
  return kFaraday * kFaraday * kC * kAmplitude * std::sqrt(kTwoPi * f * kRunD) / (4 * RT);
}

using curve_test::Peak;

// The largest value of harmonic k between two potentials, and where it is.
Peak Extreme(const Model& m, int k, double from, double to) {
  Peak best{0, -1e300};
  for (int i = 1; i <= m.NumberOfPoints; ++i) {
    const double E = m.PotentialX(i);
    if (E < std::min(from, to) || E > std::max(from, to)) continue;
    if (m.AcHarmonics(i, k) > best.I) best = {E, m.AcHarmonics(i, k)};
  }
  return best;
}

// A quasi-reversible couple (alpha 0.5) at E1/2: I = I_rev G, G = [2 / (1 + cot^2 phi)]^1/2,
// cot phi = 1 + (2 w)^1/2 / lambda, lambda = 2 ks / D^1/2 (Smith; Bard and Faulkner eq.
// 10.5.29-10.5.31), for a DC process that stays nearly reversible (ks / (D F v / RT)^1/2 of 5
// and more here). The fundamental falls with ks; its peak stays at E1/2 but for the DC
// process's own lag, a shift in the sweep's direction that reaches 3 mV at ks = 0.01 cm/s.
TEST(AcVoltammetryTest, QuasiReversibleFundamentalFallsWithKsAsSmiths) {
  const double f = 20.0;  // Hz
  double previous = 1e300;
  for (double ks : {0.1, 0.02, 0.01}) {
    auto m = AcModel();
    m->StartPotential = kRunE0 + 0.12;
    m->EndPotential = kRunE0 - 0.12;
    m->ScanRate = 0.01;
    m->AcFrequency = f;
    m->ChargeKs(1) = ks;
    RunToTheEnd(*m);
    const double reversible = SmithHeight(*m, f);
    const double cot = 1 + std::sqrt(2 * kTwoPi * f) / (2 * ks / std::sqrt(kRunD));
    const double G = std::sqrt(2 / (1 + cot * cot));
    const Peak peak = Extreme(*m, 1, kRunE0 + 0.08, kRunE0 - 0.08);
    EXPECT_NEAR(peak.E, kRunE0 - 0.0015, 0.0015) << "ks = " << ks;
    EXPECT_NEAR(peak.I / (reversible * G), 1.0, 0.01) << "ks = " << ks << ", G = " << G;
    EXPECT_LT(peak.I, previous);
    previous = peak.I;
  }
}

// Without a reactant the current is the double layer's: Cd dE/dt through Ru, whose fundamental
// is dE w Cd / (1 + (w Ru Cd)^2)^1/2, the same along the whole sweep.
TEST(AcVoltammetryTest, ChargingCurrentIsTheDoubleLayersThroughRu) {
  for (double Ru : {0.0, 100.0}) {
    auto m = AcModel();
    m->SpeciesC(1) = 0;
    m->DoubleLayerCapacitance = 20e-6;  // F
    m->UncompensatedResistance = Ru;
    RunToTheEnd(*m);
    const double w = kTwoPi * kFrequency;
    const double rc = w * Ru * m->DoubleLayerCapacitance;
    const double expected = kAmplitude * w * m->DoubleLayerCapacitance / std::sqrt(1 + rc * rc);
    for (int i : {1000, 2560, 4000})
      EXPECT_NEAR(m->AcHarmonics(i, 1) / expected, 1.0, 0.005) << "Ru = " << Ru << ", i = " << i;
    // The DC component is the sweep's charging current, Cd v (cathodic positive going down).
    EXPECT_NEAR(m->AcHarmonics(1000, 0), m->DoubleLayerCapacitance * m->ScanRate, 1e-8);
  }
}

// Every electrode of the digital model carries the sine; a reversible couple's fundamental
// peaks at E1/2 (equal diffusion coefficients) at each. The hemisphere shares the sphere's grid.
class AcElectrodeTest : public testing::TestWithParam<Electrode> {};

TEST_P(AcElectrodeTest, FundamentalPeaksAtHalfWave) {
  auto m = AcModel(GetParam());
  m->Radius = 0.01;
  m->ElectrodeLength = 0.1;
  RunToTheEnd(*m);
  const Peak peak = Extreme(*m, 1, kRunE0 + 0.15, kRunE0 - 0.15);
  EXPECT_NEAR(peak.E, kRunE0, 0.002);
  EXPECT_GT(peak.I, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Electrodes, AcElectrodeTest,
                         testing::Values(Electrode::kSpherical, Electrode::kMicrodisc,
                                         Electrode::kCylindrical, Electrode::kRotatingCylinder,
                                         Electrode::kRotatingHemisphere, Electrode::kRotatingDisk,
                                         Electrode::kThinFilm, Electrode::kBand),
                         ElectrodeName);

// The impedance of the frequency domain is the time domain's: a 5 mV sine held at E0 (a sweep
// of 1 uV, so that the DC potential stays), simulated digitally for 40 periods and
// Fourier-analysed over the last 20, gives Z within 1 % of technique 10's. A quasi-reversible
// couple with both forms at 1 mM (equilibrium: no DC current), ks 0.01 cm/s, Ru 10 ohm, Cd
// 20 uF; and a catalytic cycle B -> A (k 50 /s) about its steady state from A alone.
struct TimeDomainCase {
  const char* name;
  double f;  // Hz
  bool catalytic;
};

class TimeDomainImpedance : public testing::TestWithParam<TimeDomainCase> {};

TEST_P(TimeDomainImpedance, EqualsTheFrequencyDomainsWithinOnePercent) {
  constexpr int kPeriods = 40;
  const double f = GetParam().f;
  auto m = AcModel();
  m->SpeciesC(2) = kRunC;
  m->ChargeKs(1) = 0.01;
  if (GetParam().catalytic) {
    m->SpeciesC(2) = 0;
    AddFirstOrderReaction(*m, 2, 1, 50);
  }
  m->UncompensatedResistance = 10;
  m->DoubleLayerCapacitance = 20e-6;
  m->AcFrequency = f;
  m->StartPotential = kRunE0;
  m->EndPotential = kRunE0 + 1e-6;
  m->ScanRate = 1e-6 * f / kPeriods;
  RunToTheEnd(*m);
  ASSERT_EQ(m->NumberOfPoints, kAcSamplesPerPeriod * kPeriods);
  const double anodic = m->AnodicPositive ? 1.0 : -1.0;  // the store's sign of an anodic current
  std::complex<double> e(0.0), i(0.0);
  for (int k = m->NumberOfPoints / 2 + 1; k <= m->NumberOfPoints; ++k) {
    const double phase = kTwoPi * k / kAcSamplesPerPeriod;
    const std::complex<double> turn = std::polar(1.0, -phase);
    e += kAmplitude * std::sin(phase) * turn;
    i += anodic * m->CurrentY(k, m->CurrentCurve) * turn;
  }
  Model spectrum = *m;
  spectrum.Technique = Technique::kImpedance;
  spectrum.DcPotential = kRunE0;
  spectrum.FrequencyFrom = spectrum.FrequencyTo = f;
  spectrum.PointsPerDecade = 1;
  ASSERT_TRUE(RunSimulation(spectrum, StartInputs()).Done());
  const int n = spectrum.SpectrumFrequencies;
  const std::complex<double> z(spectrum.CurrentY(1, 1), spectrum.CurrentY(n + 1, 1));
  EXPECT_LT(std::abs(e / i - z), 0.01 * std::abs(z)) << e / i << " against " << z << " ohm";
}

const TimeDomainCase kTimeDomainCases[] = {
    {"Couple500mHz", 0.5, false}, {"Couple5Hz", 5, false},        {"Couple50Hz", 50, false},
    {"Couple500Hz", 500, false},  {"Couple5000Hz", 5000, false},  {"Catalytic500mHz", 0.5, true},
    {"Catalytic50Hz", 50, true},  {"Catalytic5000Hz", 5000, true}};
INSTANTIATE_TEST_SUITE_P(Frequencies, TimeDomainImpedance, testing::ValuesIn(kTimeDomainCases),
                         NameFrom<&TimeDomainCase::name>());

// The sine on a potential program of the same applied potential as the cycle of technique 9's
// sweep (the E(t) rows of its start, turn and end) gives the sweep's curve and harmonics to
// 1e-9 of their largest, with Ru and Cd, on the line and on the disc.
class AcOnProgramTest : public testing::TestWithParam<Electrode> {};

TEST_P(AcOnProgramTest, ProgramOfTheCycleGivesTheSweepsCurve) {
  auto sweep = AcModel(GetParam());
  sweep->Radius = 0.01;
  sweep->StartPotential = kRunE0 + 0.1;
  sweep->EndPotential = kRunE0 - 0.1;
  sweep->ScanCycles = 1;
  sweep->UncompensatedResistance = 50;
  sweep->DoubleLayerCapacitance = 20e-6;
  auto program = std::make_unique<Model>(*sweep);
  const double turn = 0.2 / sweep->ScanRate;  // s
  program->AcOnProgram = true;
  program->Program.fromFile = true;
  program->Program.fileTimes = {0, turn, 2 * turn};
  program->Program.filePotentials = {kRunE0 + 0.1, kRunE0 - 0.1, kRunE0 + 0.1};
  RunToTheEnd(*sweep);
  RunToTheEnd(*program);
  ASSERT_EQ(program->NumberOfPoints, sweep->NumberOfPoints);
  for (int k : {-1, 0, 1, 2}) {  // -1: the current itself
    auto values = [k](const Model& m) {
      std::vector<double> v;
      for (int i = 1; i <= m.NumberOfPoints; ++i)
        v.push_back(k < 0 ? m.CurrentY(i, 1) : m.AcHarmonics(i, k));
      return v;
    };
    EXPECT_LT(RelativeDifference(values(*sweep), values(*program)), 1e-9) << "harmonic " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Electrodes, AcOnProgramTest,
                         testing::Values(Electrode::kPlanar, Electrode::kMicrodisc), ElectrodeName);

// A step to E1/2 held 2 s, then a jump to E1/2 + 0.15 V and a sweep to E1/2 - 0.15 V: a
// reversible couple's fundamental is Smith's peak height wherever the DC potential is E1/2
// (with equal D the surface is Nernst's ratio of a constant sum, whatever came before), so
// during the hold and at the sweep's peak, which lies at E1/2.
TEST(AcVoltammetryTest, SineOnHoldAndSweepKeepsSmithsFundamental) {
  auto m = AcModel();
  m->AcOnProgram = true;
  m->Program.segments = {{SegmentKind::kStep, kRunE0, 0, 0, 2.0},
                         {SegmentKind::kStep, kRunE0 + 0.15, 0, 0, 0},
                         {SegmentKind::kSweep, kRunE0 + 0.15, kRunE0 - 0.15, 0.05, 0}};
  RunToTheEnd(*m);
  const double height = SmithHeight(*m);
  const double dt = PointTime(*m);
  for (double t : {1.0, 1.3, 1.6})
    EXPECT_NEAR(m->AcHarmonics(static_cast<int>(t / dt), 1) / height, 1.0, 0.01) << t << " s";
  Peak peak;  // over the sweep's middle: the transform's ends meet the ends of the program
  for (int i = static_cast<int>(3 / dt); i <= m->NumberOfPoints; ++i)
    if (std::fabs(m->PotentialX(i) - kRunE0) < 0.1 && m->AcHarmonics(i, 1) > peak.I)
      peak = {m->PotentialX(i), m->AcHarmonics(i, 1)};
  EXPECT_NEAR(peak.E, kRunE0, 0.0005);
  EXPECT_NEAR(peak.I / height, 1.0, 0.01) << peak.I << " A against " << height << " A";
}

// Impossible programs are refused, naming the box. A sweep of too many points and the analytical
// model, which has no AC voltammetry: the scenario ac_voltammetry.
TEST(AcVoltammetryTest, RefusesWhatItCannotSimulate) {
  struct Case {
    void (*change)(Model&);
    const char* text;
  };
  const Case cases[] = {
      {[](Model& m) { m.AcFrequency = 0; }, "Division by zero: f (Hz) is 0"},
      {[](Model& m) { m.AcFrequency = -5; }, "Invalid procedure call or argument: f (Hz) is -5"},
      {[](Model& m) { m.AcAmplitude = -0.01; },
       "Invalid procedure call or argument: ΔE (mV) is -10"},
      {[](Model& m) {
         m.AcOnProgram = true;
         m.Program.segments = {{SegmentKind::kHold, 0.1, 0, 0, 200}};
       },
       "Invalid procedure call or argument: 128000 points at 1/(64 f) (s) .0015625, a curve holds "
       "at most 100000"},
  };
  for (const Case& c : cases) {
    auto m = AcModel();
    c.change(*m);
    EXPECT_TRUE(RefusedSaying(*m, c.text));
  }
}

}  // namespace
}  // namespace qalto
