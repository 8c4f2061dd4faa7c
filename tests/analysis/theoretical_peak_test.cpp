// The theoretical peaks and limiting currents against the textbook formulas. Nicholson's
// quasi-reversible peaks (psi 20, 1, 0.25, 0.1) and their printed lines: the scenario
// analytical_kinetics; the irreversible sweep's peak 0.4958 nFAC (alpha f v D)^1/2, its
// potential and width: analytical_slow_sweep.
#include "analysis/theoretical_peak.h"

#include <gtest/gtest.h>

#include "app/analysis_report.h"
#include "simulation/analytical_run_model.h"

#include <cmath>

namespace qalto {
namespace {

constexpr double F = 96484.6;  // C/mol
constexpr double R = 8.31441;  // J/(mol K)
constexpr double T = 298.14;   // K, 25 degrees Celsius

// The analytical run's O + n e = R between species 1 and 2, 1 mM of O, D = 1e-5 cm2/s, with
// ks 1e-3 cm/s and E0 0.1 V on 0.5 cm2.
class TheoreticalPeakTest : public ::testing::Test {
 protected:
  TheoreticalPeakTest() {
    m.ChargeKs(1) = 1e-3;
    m.ChargeE0(1) = 0.1;
    m.ElectrodeArea = 0.5;
    m.DropTime = 1;
    m.PulseTime = 0.05;
    m.Radius = 0.01;
  }
  TheoreticalValues Values(double radius = 0) { return TheoreticalPeakValues(m, 1, radius); }

  double n() const { return m.ChargeN(1); }
  double nFAC() const { return n() * F * m.ElectrodeArea * m.SpeciesC(1) * 1e-3; }  // C/cm
  double f() const { return n() * F / (R * T); }                                    // 1/V

  Model m = AnalyticalRunModel(1, 1);
  ResultWindow result;
};

TEST_F(TheoreticalPeakTest, ReversibleSweepIsRandlesSevcik) {
  for (double electrons : {1.0, 2.0}) {
    m.ChargeN(1) = electrons;
    TheoreticalValues v = Values();
    EXPECT_TRUE(v.peak);
    double ip = 0.4463 * nFAC() * std::sqrt(n() * F * m.ScanRate * 1e-5 / (R * T));
    EXPECT_NEAR(*v.reversible.current, ip, 1e-12 * ip);
    // The tabulated 25 degree form 2.69e5 n^3/2 A D^1/2 C v^1/2 (C in mol/cm3).
    double tabulated = 2.69e5 * std::pow(n(), 1.5) * 0.5 * std::sqrt(1e-5) * 1e-6 * std::sqrt(0.1);
    EXPECT_NEAR(*v.reversible.current / tabulated, 1, 3e-3);
    // Equal diffusion coefficients: E1/2 = E0'; the peak lies 28.5/n mV beyond it.
    EXPECT_NEAR(0.1 - *v.reversible.potential, 0.0285 / n(), 0.0001 / n());
    EXPECT_NEAR(*v.reversible.potential, 0.1 - 1.109 / f(), 1e-12);
    EXPECT_NEAR(*v.reversible.width, 2.2 / f(), 1e-12);  // 56.5/n mV
  }
}

TEST_F(TheoreticalPeakTest, MicrodiscSteadyStateIsFourNFDCr) {
  m.Electrode = Electrode::kMicrodisc;
  m.ElectrodeArea = 8 * 0.005 * 0.005 / kPi;  // as the Instrument window sets it for r = 50 um
  TheoreticalValues v = TheoreticalPeakValues(m, 1, 0.005);
  double id = 4 * F * 1e-5 * 1e-6 * 0.005;
  EXPECT_NEAR(*v.reversible.current, id, 1e-9 * id);
  EXPECT_NEAR(*v.irreversible.current, id / 2, 1e-9 * id);
  EXPECT_DOUBLE_EQ(*v.reversible.potential, 0.1);
  EXPECT_FALSE(v.reversible.width);
}

TEST_F(TheoreticalPeakTest, DcAndNormalPulseWavesAreCottrellLimited) {
  m.Technique = Technique::kNormalPulse;  // the pulse width is the sampling time; the wave lies one
                                          // pulse before
  TheoreticalValues v = Values();
  double id = nFAC() * std::sqrt(1e-5 / (kPi * m.PulseTime));
  EXPECT_NEAR(*v.reversible.current, id, 1e-12 * id);
  EXPECT_NEAR(*v.reversible.potential, 0.15, 1e-12);
  m.Technique = Technique::kDc;  // spherical: the steady-state term D/r0 adds to the Cottrell term
  m.Electrode = Electrode::kSpherical;
  v = Values();
  EXPECT_NEAR(*v.reversible.current, nFAC() * 1e-5 * (1 / std::sqrt(kPi * 1e-5) + 1 / 0.01), 1e-15);
  EXPECT_FALSE(v.irreversible.potential);
}

TEST_F(TheoreticalPeakTest, DifferentialPulseAndSquareWavePeaks) {
  m.Technique = Technique::kDifferentialPulse;
  TheoreticalValues v = Values();
  double sigma = std::exp(f() * m.PulsePotential / 2);
  double ip = nFAC() * std::sqrt(1e-5 / (kPi * m.PulseTime)) * (1 - sigma) / (1 + sigma);
  EXPECT_TRUE(v.peak);
  EXPECT_NEAR(*v.reversible.current, ip, 1e-12 * std::fabs(ip));
  EXPECT_NEAR(*v.reversible.potential, 0.1 + 0.025, 1e-12);  // E1/2 - dE/2
  EXPECT_NEAR(*v.reversible.width, 1.76 / f(), 1e-12);       // half of 3.52 RT/nF
  m.Electrode = Electrode::kHemispherical;
  EXPECT_NEAR(*Values().reversible.current, ip * (1 + std::sqrt(kPi * 1e-5 * m.PulseTime) / 0.01),
              1e-12 * std::fabs(ip));
  m.Technique = Technique::kSquareWave;  // square wave: the same current, the peak at E1/2
  v = Values();
  EXPECT_NEAR(*v.reversible.current, ip, 1e-12 * std::fabs(ip));
  EXPECT_DOUBLE_EQ(*v.reversible.potential, 0.1);
}

TEST_F(TheoreticalPeakTest, ThinFilmAndBandSweeps) {
  // A thin layer (1 um): Hubbard's reversible n^2 F^2 v (A L) C / (4RT) at E0', and the
  // irreversible alpha n F^2 v A L C / (e RT) where ks exp(-alpha f (E - E0)) = alpha f v L.
  m.Electrode = Electrode::kThinFilm;
  m.ElectrodeLength = 1e-4;
  TheoreticalValues v = Values();
  double ip = F * F * m.ScanRate * 0.5 * 1e-4 * 1e-6 / (4 * R * T);
  EXPECT_NEAR(*v.reversible.current, ip, 1e-12 * ip);
  EXPECT_DOUBLE_EQ(*v.reversible.potential, 0.1);
  const double af = 0.5 * f();
  EXPECT_NEAR(*v.irreversible.current, 4 * ip * 0.5 / std::exp(1.0), 1e-12 * ip);
  EXPECT_NEAR(*v.irreversible.potential, 0.1 + std::log(1e-3 / (af * 0.1 * 1e-4)) / af, 1e-12);
  // A film of 1 mm is planar; one of 10 um lies between the limits, where no formula holds.
  m.ElectrodeLength = 0.1;
  v = Values();
  EXPECT_NEAR(*v.reversible.current, 0.4463 * nFAC() * std::sqrt(f() * 0.1 * 1e-5), 1e-9);
  m.ElectrodeLength = 1e-3;
  v = Values();
  EXPECT_FALSE(v.reversible.current);
  EXPECT_FALSE(v.irreversible.current);
  // Band of half width r0 and length L after the forward sweep (0.6 V at 0.1 V/s, 6 s):
  // 2 pi n F D C L / ln(64 D t / (2 r0)^2).
  m.Electrode = Electrode::kBand;
  m.StartPotential = 0.3;
  m.EndPotential = -0.3;
  m.ElectrodeLength = 0.5;
  v = Values(5e-4);
  double id = 2 * kPi * F * 1e-5 * 1e-6 * 0.5 / std::log(64 * 1e-5 * 6 / (4 * 25e-8));
  EXPECT_NEAR(*v.reversible.current, id, 1e-9 * id);
  EXPECT_DOUBLE_EQ(*v.reversible.potential, 0.1);
  EXPECT_EQ(*v.irreversible.current, *v.reversible.current);
  EXPECT_FALSE(v.irreversible.potential);
}

TEST_F(TheoreticalPeakTest, CatalyticWaveAndItsPulsePeaks) {
  m.Mechanism = 8;
  m.SpeciesC(3) = 0.1;
  m.ForwardRateConstant(1) = 100;
  m.BackwardRateConstant(1) = 0;
  double id = nFAC() * std::sqrt(1e-5 * 100 * 0.1);  // nFAC sqrt(D k C_Z)
  TheoreticalValues v = Values();
  EXPECT_FALSE(v.peak);  // a steady-state wave even in linear sweep
  EXPECT_NEAR(*v.reversible.current, id, 1e-12 * id);
  EXPECT_DOUBLE_EQ(*v.reversible.potential, 0.1);
  EXPECT_NEAR(*v.irreversible.potential,
              0.1 - std::log(std::sqrt(1e-5 * 0.5 * 10) / 1e-3) / (0.5 * f()), 1e-12);
  // A differential pulse on the sigmoidal wave peaks half a pulse before E1/2 at
  // Id (1 - s)/(1 + s); checked against the difference of two points of the wave.
  m.Technique = Technique::kDifferentialPulse;
  v = Values();
  EXPECT_TRUE(v.peak);
  auto wave = [&](double e) { return id / (1 + std::exp(f() * (e - 0.1))); };
  double ep = *v.reversible.potential;
  EXPECT_NEAR(ep, 0.125, 1e-12);
  EXPECT_NEAR(*v.reversible.current, wave(ep + m.PulsePotential) - wave(ep), 1e-12 * id);
  m.Technique = Technique::kAdditiveSquareWave;
  v = Values();
  EXPECT_FALSE(v.peak);
  EXPECT_NEAR(*v.reversible.current, 2 * id, 1e-12 * id);
}

TEST_F(TheoreticalPeakTest, CasesWithoutAFormulaPrintLabelsOnly) {
  m.Mechanism = 6;
  m.Technique = Technique::kDc;
  m.ChargeReactionCount = 2;
  PrintTheoreticalPeak(result, TheoreticalPeak(m, 0));
  // Each line: the labels and units, the zone moves, and no width part.
  std::string lines;
  for (const char* r : {"1", "2"}) {
    lines += std::string("Reversible Peak  ") + r + " :   E1/2= V            Id = A        \n\n";
    lines += std::string("Irreverisble Peak  ") + r + " :  E1/2= V           Id = A        \n\n";
  }
  // The DC wave ends with what the analytical model leaves out.
  EXPECT_EQ(result.Text(),
            "Theoretical limiting current of mechanism  6 , technique  2 , electrode  1  :\n" +
                lines +
                "DC wave: a stationary electrode renewed every drop; a growing mercury drop "
                "carries sqrt(7/3) = 1.53 times this current (Ilkovic).\n");
  result.Clear();
  m.ChargeReactionCount = 0;  // only the heading
  m.Technique = Technique::kSweep;
  PrintTheoreticalPeak(result, TheoreticalPeak(m, 0));
  EXPECT_EQ(result.Text(),
            "Theoretical limiting current of mechanism  6 , technique  1 , electrode  1  :\n");
}

}  // namespace
}  // namespace qalto
