// Whole analytical runs through the simulation driver, checked against textbook voltammetry.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/constants.h"
#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// exp(x^2) erfc(x) from the standard library's erfc, and beyond x = 3, where exp(x^2) would
// soon overflow, from Laplace's continued fraction (200 terms: exact to double precision there).
double ScaledErfcReference(double x) {
  if (x < 3) return std::exp(x * x) * std::erfc(x);
  double tail = 0;
  for (int n = 200; n >= 1; --n)
    tail = (n / 2.0) / (x + tail);
  return 1 / (std::sqrt(std::numbers::pi) * (x + tail));
}

struct Peak {
  int i = 0;
  double E = 0;  // V
  double I = 0;  // A
};

Peak LargestCurrent(const Model& model, int first, int last) {
  Peak peak;
  for (int i = first; i <= last; ++i) {
    if (model.CurrentY(i, 1) > peak.I) peak = {i, model.PotentialX(i), model.CurrentY(i, 1)};
  }
  return peak;
}

// Potential where the curve first reaches the given current, by linear interpolation.
double PotentialAtCurrent(const Model& model, double current) {
  for (int i = 2; i <= model.NumberOfPoints; ++i) {
    double a = model.CurrentY(i - 1, 1);
    double b = model.CurrentY(i, 1);
    if (a < current && b >= current) {
      double x0 = model.PotentialX(i - 1);
      return x0 + (current - a) / (b - a) * (model.PotentialX(i) - x0);
    }
  }
  return NAN;
}

void Simulate(Model& model, RecordingPlatform& platform) {
  RunSimulation(model, SimulationInputs{}, platform);
  ASSERT_TRUE(platform.messages.empty()) << platform.messages.front();
}

TEST(AnalyticalRun, ReversibleCyclicVoltammogramAtAPlanarElectrode) {
  Model model = AnalyticalRunModel(1, 1);
  model.ScanCycles = 1;
  RecordingPlatform platform;
  Simulate(model, platform);
  ASSERT_EQ(model.NumberOfPoints, 1202);

  // Randles-Sevcik: ip = 0.4463 n F A C sqrt(n F v D / RT), C in mol/cm3.
  double randlesSevcik =
      0.4463 * kFaraday * kRunC * 1e-3 * std::sqrt(model.FOverRT * model.ScanRate * kRunD);
  Peak cathodic = LargestCurrent(model, 1, model.SweepPoints);
  EXPECT_NEAR(cathodic.I / randlesSevcik, 1.0, 0.01);
  // Ep = E1/2 - 1.109 RT/nF = E0 - 28.5 mV with equal diffusion coefficients.
  EXPECT_NEAR(cathodic.E, kRunE0 - 1.109 * model.RTOverF, 0.001);
  // At E1/2 itself the current is 0.38011 n F A C sqrt(n f v D) (pi^1/2 chi of the
  // Nicholson-Shain equation), 0.8517 of the peak.
  ASSERT_NEAR(model.PotentialX(301), kRunE0, 1e-12);
  EXPECT_NEAR(model.CurrentY(301, 1) / randlesSevcik, 0.38011 / 0.4463, 0.002);

  // On the way back B is reoxidised: an anodic peak 57-60 mV more positive (57.0 mV = 2.218
  // RT/F when the switch lies far beyond E1/2, 57.4 mV for the 300 mV here).
  Peak anodic;
  for (int i = model.SweepPoints + 1; i <= model.NumberOfPoints; ++i) {
    if (model.CurrentY(i, 1) < anodic.I) anodic = {i, model.PotentialX(i), model.CurrentY(i, 1)};
  }
  EXPECT_GE(anodic.E - cathodic.E, 0.057 - 1e-9);
  EXPECT_LE(anodic.E - cathodic.E, 0.060 + 1e-9);
  EXPECT_LT(anodic.I, 0.0);
  // Surface concentrations of the reversible couple at the last point of the forward sweep.
  EXPECT_NEAR(model.SurfaceConcentrations(model.SweepPoints, 1), 0.0, 1e-3 * kRunC);
  EXPECT_NEAR(model.SurfaceConcentrations(model.SweepPoints, 2), kRunC, 1e-3 * kRunC);
}

TEST(AnalyticalRun, ScanRateScalesThePeakWithItsSquareRoot) {
  Model slow = AnalyticalRunModel(1, 1);
  Model fast = AnalyticalRunModel(1, 1);
  fast.ScanRate = 4 * slow.ScanRate;
  fast.DropTime = fast.PotentialStep / fast.ScanRate;
  RecordingPlatform platform;
  Simulate(slow, platform);
  Simulate(fast, platform);
  double ratio = LargestCurrent(fast, 1, fast.NumberOfPoints).I /
                 LargestCurrent(slow, 1, slow.NumberOfPoints).I;
  // Exactly 2 for a Nernstian couple; ks = 1e3 cm/s leaves a kinetic trace of 1e-6.
  EXPECT_NEAR(ratio, 2.0, 1e-5);
}

TEST(AnalyticalRun, DcWaveHasItsHalfWavePotentialAtE0) {
  Model model = AnalyticalRunModel(2, 1);
  model.DropTime = 1.0;
  RecordingPlatform platform;
  Simulate(model, platform);
  // Limiting current n F A C sqrt(D / (pi t)).
  double limiting =
      kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (std::numbers::pi * model.DropTime));
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / limiting, 1.0, 3e-5);
  EXPECT_NEAR(PotentialAtCurrent(model, limiting / 2), kRunE0, 1e-4);
}

TEST(AnalyticalRun, MicrodiscReachesItsSteadyStateCurrent) {
  // A 10 um disc swept slowly: the wave levels off at 4 n F D C r.
  Model model = AnalyticalRunModel(1, 4);
  double discRadius = 5e-4;  // cm
  model.Radius = 2 * discRadius / kPi;
  model.ElectrodeArea = kTwoPi * model.Radius * model.Radius;
  model.ScanRate = 0.005;
  model.DropTime = model.PotentialStep / model.ScanRate;
  RecordingPlatform platform;
  Simulate(model, platform);
  double steady = 4 * kFaraday * kRunD * kRunC * 1e-3 * discRadius;
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / steady, 1.0, 0.02);
  EXPECT_NEAR(PotentialAtCurrent(model, steady / 2), kRunE0, 0.003);
}

TEST(AnalyticalRun, SlowTransferDcWaveIsKouteckysStepResponse) {
  // A totally irreversible reduction sampled td after the step: I / Id = sqrt(pi) x exp(x^2)
  // erfc(x), x = kf sqrt(td / D), half at x = 0.432752, so
  // E1/2 = E0 + ln(2.310794 ks sqrt(td / D)) / (alpha f).
  Model model = AnalyticalRunModel(2, 1);
  model.DropTime = 1.0;
  model.ChargeKs(1) = 1e-5;
  model.ChargeAlpha(1) = 0.3;  // cm/s; an uneven alpha shows a swap of alpha and 1 - alpha
  model.EndPotential = -1.2;
  RecordingPlatform platform;
  Simulate(model, platform);
  double f = model.FOverRT;
  double limiting = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPi * model.DropTime));
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / limiting, 1.0, 1e-5);
  double halfWave = kRunE0 + std::log(2.310794 * 1e-5 * std::sqrt(1.0 / kRunD)) / (0.3 * f);
  EXPECT_NEAR(PotentialAtCurrent(model, limiting / 2), halfWave, 1e-4);
  // Point by point against erfc; the back reaction is negligible beyond 0.3 V past E0.
  for (int i = 600; i <= model.NumberOfPoints; i += 50) {
    double x = 1e-5 * std::exp(-0.3 * f * (model.PotentialX(i) - kRunE0)) / std::sqrt(kRunD);
    double koutecky = std::sqrt(std::numbers::pi) * x * ScaledErfcReference(x);
    EXPECT_NEAR(model.CurrentY(i, 1) / limiting, koutecky, 1e-6) << model.PotentialX(i);
  }
}

TEST(AnalyticalRun, MicrodiscDcWaveFollowsSphericalDiffusion) {
  // A disc of radius a = 5 um as the hemisphere of equal steady current, r0 = 2a / pi. On the
  // plateau I = 4nFDCa (1 + 4 / (pi^(3/2) sqrt(tau))), tau = 4 D td / a^2, which follows
  // Shoup and Szabo's 0.7854 + 0.8862 / sqrt(tau) + 0.2146 exp(-0.7823 / sqrt(tau)).
  double discRadius = 5e-4;  // cm
  double steady = 4 * kFaraday * kRunD * kRunC * 1e-3 * discRadius;
  struct Case {
    double tau;
    double tolerance;  // relative, from Shoup-Szabo
  };
  for (Case c : {Case{20, 0.004}, Case{80, 0.0015}, Case{16000, 5e-5}}) {
    Model model = AnalyticalRunModel(2, 4);
    model.Radius = 2 * discRadius / kPi;
    model.ElectrodeArea = kTwoPi * model.Radius * model.Radius;
    model.DropTime = c.tau * discRadius * discRadius / (4 * kRunD);
    RecordingPlatform platform;
    Simulate(model, platform);
    double plateau = model.CurrentY(model.NumberOfPoints, 1);
    double spherical = 1 + 4 / (std::pow(kPi, 1.5) * std::sqrt(c.tau));
    double s = 1 / std::sqrt(c.tau);
    double shoupSzabo = 0.7854 + 0.8862 * s + 0.2146 * std::exp(-0.7823 * s);
    EXPECT_NEAR(plateau / steady, spherical, 1e-5) << c.tau;
    EXPECT_NEAR(plateau / steady / shoupSzabo, 1.0, c.tolerance) << c.tau;
    EXPECT_NEAR(PotentialAtCurrent(model, plateau / 2), kRunE0, 1e-4) << c.tau;
    if (c.tau == 80) {
      EXPECT_NEAR(plateau / steady, 1.08, 0.002);  // about 8 % above
    }
  }
}

TEST(AnalyticalRun, RotatingDiskLimitingCurrentIsLevich) {
  Model model = AnalyticalRunModel(2, 8);
  RecordingPlatform platform;
  Simulate(model, platform);
  double levich = 0.62045 * kFaraday * model.ElectrodeArea * std::pow(kRunD, 2.0 / 3.0) *
                  std::sqrt(model.RotationRate) * std::pow(model.KinematicViscosity, -1.0 / 6.0) *
                  kRunC * 1e-3;
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / levich, 1.0, 3e-5);
  EXPECT_NEAR(PotentialAtCurrent(model, levich / 2), kRunE0, 1e-4);
}

TEST(AnalyticalRun, ReversibleSquareWavePeaksAtE0) {
  Model model = AnalyticalRunModel(5, 1);
  model.PotentialStep = 0.005;
  RecordingPlatform platform;
  Simulate(model, platform);
  Peak peak = LargestCurrent(model, 1, model.NumberOfPoints);
  EXPECT_GT(peak.I, 0.0);
  EXPECT_NEAR(peak.E, kRunE0, 0.0051);
}

TEST(AnalyticalRun, ReversibleDifferentialPulsePeaksHalfAPulseAfterE0) {
  Model model = AnalyticalRunModel(4, 1);
  model.DropTime = 0.5;
  RecordingPlatform platform;
  Simulate(model, platform);
  Peak peak = LargestCurrent(model, 1, model.NumberOfPoints);
  EXPECT_NEAR(peak.E, kRunE0 - model.PulsePotential / 2, 0.0011);
  // Height n F A C sqrt(D / (pi t)) (1 - s) / (1 + s), s = exp(n f P / 2), nearly: the drop
  // terms add the small decay of the current between the pulses.
  double s = std::exp(model.FOverRT * model.PulsePotential / 2);
  double height =
      kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPi * model.PulseTime)) * (1 - s) / (1 + s);
  EXPECT_NEAR(peak.I / height, 1.0, 0.01);
}

TEST(AnalyticalRun, CatalyticWaveLevelsOffAtTheKineticCurrent) {
  // EC': B + C* -> A with k' = kf C* = 1000 /s (lambda = k' RT / (F v) = 257, the pure kinetic
  // zone); the sweep turns into a wave with the plateau n F A C sqrt(D k') centred on E0.
  Model model = AnalyticalRunModel(1, 1);
  model.Mechanism = 8;
  model.SpeciesCount = 3;
  model.SpeciesC(3) = 0.1;
  model.SpeciesD(3) = kRunD;
  model.ForwardRateConstant(1) = 1e4;
  RecordingPlatform platform;
  Simulate(model, platform);
  double plateau = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD * 1000.0);
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / plateau, 1.0, 1e-4);
  EXPECT_NEAR(PotentialAtCurrent(model, plateau / 2), kRunE0, 2e-4);
}

TEST(AnalyticalRun, ThinFilmPeak) {
  // Thin-layer voltammetry: ip = n F A C f L v / 4, at E0 + ln(sqrt(pi) n L / sqrt(td D)) / f.
  Model model = AnalyticalRunModel(1, 9);
  model.ElectrodeLength = 1e-4;  // cm
  RecordingPlatform platform;
  Simulate(model, platform);
  Peak peak = LargestCurrent(model, 1, model.NumberOfPoints);
  double f = model.FOverRT;
  double height = kFaraday * kRunC * 1e-3 * f * model.ElectrodeLength * model.ScanRate / 4;
  EXPECT_NEAR(peak.I / height, 1.0, 2e-3);
  double Ep =
      kRunE0 + std::log(kSqrtPi * model.ElectrodeLength / std::sqrt(model.DropTime * kRunD)) / f;
  EXPECT_NEAR(peak.E, Ep, 0.0006);
}

TEST(AnalyticalRun, TwoStepReductionGivesTwoEqualDcWaves) {
  // A + e = B, B + e = C: the second step reduces the B that the first one makes at the surface.
  Model model = AnalyticalRunModel(2, 1);
  model.DropTime = 1.0;
  model.Mechanism = 2;
  model.EndPotential = -0.6;
  model.SpeciesCount = 3;
  model.ChargeReactionCount = 2;
  model.ChargeReactionSpecies(2, 1) = 2;
  model.ChargeReactionSpecies(2, 2) = 3;
  model.ChargeReactionStoich(2, 1) = 1;
  model.ChargeReactionStoich(2, 2) = 1;
  model.ChargeKs(2) = 1e3;
  model.ChargeAlpha(2) = 0.5;
  model.ChargeN(2) = 1;
  model.ChargeE0(2) = -0.35;
  model.SpeciesD(3) = kRunD;
  RecordingPlatform platform;
  Simulate(model, platform);
  double limiting = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPi * model.DropTime));
  int between = 1 + static_cast<int>(std::lround((0.2 + 0.225) / model.PotentialStep));
  EXPECT_NEAR(model.PotentialX(between), -0.225, 1e-9);
  EXPECT_NEAR(model.CurrentY(between, 1) / limiting, 1.0, 1e-3);
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / limiting, 2.0, 1e-3);
  EXPECT_NEAR(PotentialAtCurrent(model, limiting / 2), kRunE0, 1e-4);
  EXPECT_NEAR(PotentialAtCurrent(model, 1.5 * limiting), -0.35, 1e-3);
}

TEST(AnalyticalRun, ComplexationShiftsTheDcWave) {
  // MX4 = M + 4X: free ligand moves the wave by (ln Keq + ln(D1/D3)/2 - 4 ln C(X)) RT/nF.
  Model model = AnalyticalRunModel(2, 1);
  model.Mechanism = 9;
  model.DropTime = 1.0;
  model.EndPotential = -0.6;
  model.SpeciesCount = 4;
  model.EquilibriumConstant(1) = 1e-10;
  model.SpeciesD(3) = 0.5 * kRunD;
  model.SpeciesC(4) = 0.01;  // M
  RecordingPlatform platform;
  Simulate(model, platform);
  double shift = model.RTOverF * (std::log(1e-10) + 0.5 * std::log(2.0) - 4 * std::log(0.01));
  double limiting = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPi * model.DropTime));
  EXPECT_NEAR(PotentialAtCurrent(model, limiting / 2), kRunE0 + shift, 1e-4);
}

TEST(AnalyticalRun, CombinationWithoutClosedFormGivesOnlyChargingCurrent) {
  Model model = AnalyticalRunModel(1, 10);  // linear sweep at a band electrode, code 20
  model.DoubleLayerCapacitance = 2e-5;      // F
  RecordingPlatform platform;
  Simulate(model, platform);
  ASSERT_EQ(model.TechElectrodeCode, 20);
  // The sweep runs downwards: the charging current Cd v flows with the sign of a reduction.
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    EXPECT_DOUBLE_EQ(model.CurrentY(i, 1), 2e-5 * model.ScanRate) << i;
    EXPECT_EQ(model.ReactionCurrents(i, 1), 0.0);
  }
}

TEST(AnalyticalRun, ExtremePotentialsEndTheRunWithTheErrorMessage) {
  // A DC wave's closed form needs exp(0.5 f 60 V), which does not fit a double.
  Model model = AnalyticalRunModel(2, 1);
  model.StartPotential = 60.0;
  model.PotentialStep = 1.0;
  model.DropTime = 0.01;
  RecordingPlatform platform;
  RunSimulation(model, SimulationInputs{}, platform);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Analytical simulation Error: Overflow! Please try again by other initial values.");
  // A sweep solves Butler-Volmer with rates scaled to their sum, which never overflows: at
  // 60 V and beyond nothing is oxidised, since there is no B.
  Model sweep = AnalyticalRunModel(1, 1);
  sweep.StartPotential = 60.0;
  sweep.EndPotential = 50.0;
  sweep.PotentialStep = 1.0;
  sweep.DropTime = 0.01;
  RecordingPlatform quiet;
  RunSimulation(sweep, SimulationInputs{}, quiet);
  EXPECT_TRUE(quiet.messages.empty());
  for (int i = 1; i <= sweep.NumberOfPoints; ++i)
    EXPECT_EQ(sweep.CurrentY(i, 1), 0.0) << i;
}

}  // namespace
}  // namespace qalto
