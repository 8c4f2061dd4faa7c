// Whole analytical runs through the simulation driver against the textbook values (n 1, A 1 cm2,
// C 1 mM, D 1e-5 cm2/s, 0.1 V/s, 25 C): the sweeps, pulses and square waves solved as
// convolution integral equations and the closed forms of the other electrodes. Randles-Sevcik,
// Nicholson's table, the following and preceding reactions and the ohmic drop are checked by the
// script scenarios analytical_sweep and analytical_kinetics.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "common/constants.h"
#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/convolution_weights.h"
#include "simulation/simulation_driver.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

constexpr double kPiX = std::numbers::pi;

struct Extremum {
  double E = 0;  // V, parabola through the extreme point and its neighbours
  double I = 0;  // A
};

// The largest (sign +1) or most negative (sign -1) current of points first..last.
Extremum FindExtremum(const Model& model, int first, int last, int sign) {
  int best = first;
  for (int i = first; i <= last; ++i)
    if (sign * model.CurrentY(i, 1) > sign * model.CurrentY(best, 1)) best = i;
  if (best == first || best == last) return {model.PotentialX(best), model.CurrentY(best, 1)};
  double y0 = model.CurrentY(best - 1, 1), y1 = model.CurrentY(best, 1);
  double y2 = model.CurrentY(best + 1, 1);
  double d = 0.5 * (y0 - y2) / (y0 - 2 * y1 + y2);
  double step = model.PotentialX(best + 1) - model.PotentialX(best);
  return {model.PotentialX(best) + d * step, y1 - 0.25 * (y0 - y2) * d};
}

// Potential where the current first reaches `level` between points first and last, V.
double PotentialAtLevel(const Model& model, int first, int last, double level) {
  for (int i = first + 1; i <= last; ++i) {
    double a = model.CurrentY(i - 1, 1), b = model.CurrentY(i, 1);
    if ((a - level) * (b - level) <= 0 && a != b) {
      return model.PotentialX(i - 1) +
             (level - a) / (b - a) * (model.PotentialX(i) - model.PotentialX(i - 1));
    }
  }
  return NAN;
}

// The textbook cell: E0' = 0, 1 mM A, no B, sweeping negative from `start` to `end`.
Model Cell(int technique, double start, double end, double step, double cycles) {
  Model model = AnalyticalRunModel(technique, 1);
  model.ChargeE0(1) = 0.0;
  model.StartPotential = start;
  model.EndPotential = end;
  model.PotentialStep = step;
  model.ScanCycles = cycles;
  model.DropTime = step / model.ScanRate;
  return model;
}

void Simulate(Model& model) {
  RecordingPlatform platform;
  RunSimulation(model, SimulationInputs{}, platform);
  ASSERT_TRUE(platform.messages.empty()) << platform.messages.front();
}

double F() {
  return kFaraday / kGasConstant / 298.14;  // F/RT at 25 C, 1/V
}

// nFAC sqrt(D f v), A: the current scale of a sweep.
double SweepScale(const Model& model) {
  return kFaraday * 1e-6 * std::sqrt(kRunD * F() * model.ScanRate);
}

TEST(ConvolutionWeights, StepIntegralsAddUpToTheKernelIntegral) {
  // Sum of the weights over [0, t] against the kernel's closed-form integral.
  const double dt = 0.01, t = 2.0;
  const int n = 200;
  struct Case {
    DiffusionKernel kernel;
    double integral;
  };
  const double a = 0.5, k = 30.0;
  const std::vector<Case> cases = {
      {{0, 0}, 2 * std::sqrt(t / kPiX)},
      {{k, 0}, std::erf(std::sqrt(k * t)) / std::sqrt(k)},
      {{0, a}, (1 - std::exp(a * a * t) * std::erfc(a * std::sqrt(t))) / a},
  };
  for (const Case& c : cases) {
    KernelWeights steps = KernelStepIntegrals(c.kernel, dt, n);
    KernelWeights hats = KernelHatWeights(c.kernel, dt, n);
    double stepSum = 0, hatSum = 0;  // a constant flux: the two rules agree
    for (int m = 0; m < n; ++m) {
      stepSum += steps.w[m];
      hatSum += hats.w[m];
    }
    hatSum += hats.start[n - 1];
    EXPECT_NEAR(stepSum / c.integral, 1.0, 1e-12) << c.kernel.rate << " " << c.kernel.sphere;
    EXPECT_NEAR(hatSum / c.integral, 1.0, 1e-12) << c.kernel.rate << " " << c.kernel.sphere;
  }
  // The sphere with a first-order loss, integrated numerically, against the sum of its parts
  // e^{-ks} k_sphere ~ k_sphere at k -> 0 and e^{-ks}/sqrt(pi s) at a -> 0.
  KernelWeights slow = KernelStepIntegrals({1e-9, a}, dt, n);
  KernelWeights sphere = KernelStepIntegrals({0, a}, dt, n);
  KernelWeights flat = KernelStepIntegrals({k, 1e-12}, dt, n);
  KernelWeights damped = KernelStepIntegrals({k, 0}, dt, n);
  for (int m = 0; m < n; m += 37) {
    EXPECT_NEAR(slow.w[m] / sphere.w[m], 1.0, 1e-8) << m;
    EXPECT_NEAR(flat.w[m] / damped.w[m], 1.0, 1e-8) << m;
  }
}

TEST(ConvolutionWeights, ScaledErfcKeepsItsDigitsForLargeArguments) {
  // Against the product in long double, whose range and digits suffice up to x = 100, and the
  // asymptotic series 1/(sqrt(pi) x) (1 - 1/(2x^2) + 3/(4x^4)) far beyond.
  for (double x : {0.0, 0.5, 2.0, 3.9, 4.0, 7.5, 20.0, 100.0}) {
    long double X = x;
    double product = static_cast<double>(expl(X * X) * erfcl(X));
    EXPECT_NEAR(Erfcx(x) / product, 1.0, 1e-14) << x;
  }
  for (double x : {1e4, 1e6}) {
    double y = 1 / (x * x);
    EXPECT_NEAR(Erfcx(x) * std::sqrt(kPiX) * x / (1 - y / 2 + 3 * y * y / 4), 1.0, 1e-15) << x;
  }
}

TEST(ConvolutionSweep, IrreversiblePeakDoesNotMoveWithThePotentialStep) {
  // 0.4958 sqrt(alpha) nFAC sqrt(D f v) = 211.0 uA at alpha 0.5; |Ep - Ep/2| = 47.72 mV / alpha;
  // Ep = E0' - (0.780 + ln(sqrt(D alpha f v) / ks)) / (alpha f) = -234.69 mV at ks 1e-4 cm/s.
  for (double step : {0.002, 0.001, 0.0005}) {
    Model model = Cell(1, 0.2, -0.6, step, 0.5);
    model.ChargeKs(1) = 1e-4;
    Simulate(model);
    Extremum peak = FindExtremum(model, 1, model.NumberOfPoints, 1);
    EXPECT_NEAR(peak.I / (0.4958 * std::sqrt(0.5) * SweepScale(model)), 1.0, 1e-3) << step;
    EXPECT_NEAR(peak.E * 1e3, -234.69, 0.3) << step;
    double half = PotentialAtLevel(model, 1, model.NumberOfPoints, peak.I / 2);
    EXPECT_NEAR((half - peak.E) * 1e3, 47.72 / 0.5, 0.3) << step;
  }
}

TEST(ConvolutionSweep, CatalyticPlateau) {
  // EC', B + Z -> A with k' = kf C_Z: at a slow sweep the wave levels off at nFAC sqrt(D k'),
  // 305.1, 964.9 and 3051 uA for k' = 1, 10, 100 /s.
  for (double k : {1.0, 10.0, 100.0}) {
    Model model = Cell(1, 0.3, -0.4, 0.001, 0.5);
    model.ScanRate = 0.01;
    model.DropTime = model.PotentialStep / model.ScanRate;
    model.Mechanism = 8;
    model.SpeciesCount = 3;
    model.SpeciesC(3) = 0.1;
    model.SpeciesD(3) = kRunD;
    model.ChargeKs(1) = 1e4;
    model.ForwardRateConstant(1) = k / 0.1;
    Simulate(model);
    double plateau = kFaraday * 1e-6 * std::sqrt(kRunD * k);
    EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / plateau, 1.0, 2e-3) << k;
    if (k == 100) {  // the pure kinetic zone: the wave centred on E0'
      EXPECT_NEAR(PotentialAtLevel(model, 1, model.NumberOfPoints, plateau / 2), 0.0, 1e-3);
    }
  }
}

TEST(ConvolutionSweep, TwoStepReductionSharesItsIntermediate) {
  // A + e = B at 0 V, B + e = C at -0.4 V, all D equal: the first peak is Randles-Sevcik's, and
  // since all three diffuse alike their surface concentrations add up to the bulk 1 mM at every
  // point of the cycle.
  Model model = Cell(1, 0.3, -0.7, 0.001, 1);
  model.Mechanism = 2;
  model.SpeciesCount = 3;
  model.SpeciesD(3) = kRunD;
  model.ChargeReactionCount = 2;
  model.ChargeReactionSpecies(2, 1) = 2;
  model.ChargeReactionSpecies(2, 2) = 3;
  model.ChargeReactionStoich(2, 1) = 1;
  model.ChargeReactionStoich(2, 2) = 1;
  model.ChargeKs(1) = model.ChargeKs(2) = 1e4;
  model.ChargeAlpha(2) = 0.5;
  model.ChargeN(2) = 1;
  model.ChargeE0(2) = -0.4;
  Simulate(model);
  const int first = 1, last = 501;  // 0.3 V to -0.2 V
  Extremum peak = FindExtremum(model, first, last, 1);
  EXPECT_NEAR(peak.I / (0.446295 * SweepScale(model)), 1.0, 2e-3);
  EXPECT_NEAR(peak.E * 1e3, -28.49, 0.5);
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    double sum = model.SurfaceConcentrations(i, 1) + model.SurfaceConcentrations(i, 2) +
                 model.SurfaceConcentrations(i, 3);
    ASSERT_NEAR(sum, kRunC, 1e-9 * kRunC) << i;
  }
}

TEST(ConvolutionPulses, DifferentialPulseOfTheProgramsWaveform) {
  // Each point from rest: td - tp at E, then tp at E + P (-P on the way back), the current at
  // the end of the pulse less that before it. For a Nernstian couple the superposition of step
  // responses is exact; the general path (taken for a 1 nano-ohm resistance) must agree with it
  // to its extrapolation error (3e-4 of the peak),
  // and peak near nFAC sqrt(D / (pi tp)) (1 - s) / (1 + s), s = exp(f P / 2), at E1/2 - P/2.
  Model model = Cell(4, 0.3, -0.3, 0.005, 1);
  model.ChargeKs(1) = 1e4;
  model.DropTime = 0.5;
  model.PulseTime = 0.025;
  model.PulsePotential = -0.05;
  Simulate(model);
  Model general = model;
  general.UncompensatedResistance = 1e-9;
  Simulate(general);
  const int N1 = static_cast<int>(model.SweepPoints);
  Extremum peak = FindExtremum(model, 1, N1, 1);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    ASSERT_NEAR(general.CurrentY(i, 1), model.CurrentY(i, 1), 4e-4 * peak.I) << i;
  double s = std::exp(F() * model.PulsePotential / 2);
  double height = kFaraday * 1e-6 * std::sqrt(kRunD / (kPiX * model.PulseTime)) * (1 - s) / (1 + s);
  EXPECT_NEAR(peak.I / height, 1.0, 0.01);
  EXPECT_NEAR(peak.E, -model.PulsePotential / 2, 0.003);
  // On the way back the pulse turns: an anodic peak of the same size.
  Extremum back = FindExtremum(model, N1 + 1, model.NumberOfPoints, -1);
  EXPECT_NEAR(-back.I / peak.I, 1.0, 0.02);
}

// Osteryoung's reversible square-wave peaks: Delta Psi = Delta i sqrt(pi tp) / (nFAC sqrt(D)).
struct SquareWaveCase {
  double amplitude;  // n Esw, V
  double step;       // n Delta Es, V
  double peak;       // Delta Psi
};

class OsteryoungTable : public ::testing::TestWithParam<SquareWaveCase> {};

TEST_P(OsteryoungTable, ReversibleNetPeak) {
  const SquareWaveCase c = GetParam();
  Model model = Cell(5, 0.3, -0.3, c.step, 0.5);
  model.PulsePotential = 2 * c.amplitude;  // peak to peak
  model.PulseTime = 0.01;
  model.ChargeKs(1) = 1e4;
  double scale = kFaraday * 1e-6 * std::sqrt(kRunD) / std::sqrt(kPiX * model.PulseTime);
  Simulate(model);
  Extremum peak = FindExtremum(model, 1, model.NumberOfPoints, 1);
  EXPECT_NEAR(peak.I / scale, c.peak, 2e-3 * c.peak);
  // The general path (sub-stepped convolution, taken here because of a 1 nano-ohm resistance)
  // gives the same curve.
  Model general = model;
  general.UncompensatedResistance = 1e-9;
  Simulate(general);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    ASSERT_NEAR(general.CurrentY(i, 1), model.CurrentY(i, 1), 2e-3 * peak.I) << i;
}

INSTANTIATE_TEST_SUITE_P(Amplitudes, OsteryoungTable,
                         ::testing::Values(SquareWaveCase{0.025, 0.010, 0.5798},
                                           SquareWaveCase{0.050, 0.010, 0.9281},
                                           SquareWaveCase{0.025, 0.005, 0.5649},
                                           SquareWaveCase{0.050, 0.005, 0.9186},
                                           SquareWaveCase{0.010, 0.010, 0.2726}));

TEST(ConvolutionSweep, MicrodiscReachesItsSteadyStateCurrent) {
  // A 10 um disc swept slowly, as the hemisphere of equal steady current (r0 = 2a / pi): the
  // wave levels off at 4 n F D C a, half of it at E0'.
  Model model = Cell(1, 0.2, -0.4, 0.001, 0.5);
  model.Electrode = 4;
  model.TechElectrodeCode = 14;
  const double a = 5e-4;  // disc radius, cm
  model.Radius = 2 * a / kPiX;
  model.ElectrodeArea = 2 * kPiX * model.Radius * model.Radius;
  model.ScanRate = 0.005;
  model.DropTime = model.PotentialStep / model.ScanRate;
  Simulate(model);
  double steady = 4 * kFaraday * kRunD * kRunC * 1e-3 * a;
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints, 1) / steady, 1.0, 0.02);
  EXPECT_NEAR(PotentialAtLevel(model, 1, model.NumberOfPoints, steady / 2), 0.0, 0.003);
}

TEST(AnalyticalRun, ThinFilmPeak) {
  // Thin-layer voltammetry: ip = n F A C f L v / 4, at E0' + ln(sqrt(pi) n L / sqrt(td D)) / f.
  Model model = Cell(1, 0.2, -0.4, 0.001, 0.5);
  model.Electrode = 9;
  model.TechElectrodeCode = 19;
  model.ElectrodeLength = 1e-4;  // cm
  Simulate(model);
  Extremum peak = FindExtremum(model, 1, model.NumberOfPoints, 1);
  double height = kFaraday * kRunC * 1e-3 * F() * model.ElectrodeLength * model.ScanRate / 4;
  EXPECT_NEAR(peak.I / height, 1.0, 2e-3);
  double L = model.ElectrodeLength;
  EXPECT_NEAR(peak.E, std::log(std::sqrt(kPiX) * L / std::sqrt(model.DropTime * kRunD)) / F(),
              0.0006);
}

TEST(AnalyticalRun, ComplexationShiftsTheDcWave) {
  // MX4 = M + 4X: free ligand moves the wave by (ln Keq + ln(D1/D3)/2 - 4 ln C(X)) RT/nF.
  Model model = Cell(2, 0.2, -0.6, 0.001, 0.5);
  model.Mechanism = 9;
  model.DropTime = 1.0;
  model.SpeciesCount = 4;
  model.EquilibriumConstant(1) = 1e-10;
  model.SpeciesD(3) = 0.5 * kRunD;
  model.SpeciesC(4) = 0.01;  // M
  Simulate(model);
  double shift = (std::log(1e-10) + 0.5 * std::log(2.0) - 4 * std::log(0.01)) / F();
  double limiting = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPiX * model.DropTime));
  EXPECT_NEAR(PotentialAtLevel(model, 1, model.NumberOfPoints, limiting / 2), shift, 1e-4);
}

TEST(AnalyticalRun, ExtremePotentialsEndTheRunWithTheErrorMessage) {
  // A DC wave's closed form needs exp(0.5 f 60 V), which does not fit a double.
  Model model = Cell(2, 60.0, -0.4, 1.0, 0.5);
  model.DropTime = 0.01;
  RecordingPlatform platform;
  RunSimulation(model, SimulationInputs{}, platform);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Analytical simulation Error: Overflow! Please try again by other initial values.");
  // A sweep solves Butler-Volmer with rates scaled to their sum, which never overflows: at
  // 60 V and beyond nothing is oxidised, since there is no B.
  Model sweep = Cell(1, 60.0, 50.0, 1.0, 0.5);
  sweep.DropTime = 0.01;
  Simulate(sweep);
  for (int i = 1; i <= sweep.NumberOfPoints; ++i)
    EXPECT_EQ(sweep.CurrentY(i, 1), 0.0) << i;
}

}  // namespace
}  // namespace qalto
