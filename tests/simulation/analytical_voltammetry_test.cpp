// Whole analytical runs through the simulation driver against the textbook values (n 1, A 1 cm2,
// C 1 mM, D 1e-5 cm2/s, 0.1 V/s, 25 C): the sweeps, pulses and square waves solved as
// convolution integral equations and the closed forms of the other electrodes. Randles-Sevcik,
// Nicholson's table, the irreversible peak, the following and preceding reactions, the ohmic
// drop and two of Osteryoung's peaks are checked by the script scenarios analytical_sweep,
// analytical_slow_sweep and analytical_kinetics; the catalytic plateau by the digital
// simulation, with which the analytical one agrees.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/constants.h"
#include "common/curve_peak.h"
#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

constexpr double kPiX = std::numbers::pi;

using curve_test::Peak;

// The largest (sign +1) or most negative (sign -1, returned positive) current of first..last.
Peak FindExtremum(const Model& model, int first, int last, int sign) {
  return curve_test::FindPeak(model, curve_test::StoredCurrent(model, 1, sign), first, last);
}

// Potential where the current first crosses `level`, V.
double PotentialAtLevel(const Model& model, double level) {
  return curve_test::Crossing(model, curve_test::StoredCurrent(model), 1, model.NumberOfPoints,
                              level);
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

TEST(ConvolutionSweep, TwoStepReductionSharesItsIntermediate) {
  // A + e = B at 0 V, B + e = C at -0.4 V, all D equal: the first peak is Randles-Sevcik's, and
  // since all three diffuse alike their surface concentrations add up to the bulk 1 mM at every
  // point of the cycle.
  Model model = Cell(1, 0.3, -0.7, 0.001, 1);
  model.Mechanism = 2;
  model.SpeciesCount = 3;
  model.SpeciesD(3) = kRunD;
  AddChargeReaction(model, 2, 3, -0.4);
  model.ChargeKs(1) = model.ChargeKs(2) = 1e4;
  RunToTheEnd(model);
  const int first = 1, last = 501;  // 0.3 V to -0.2 V
  Peak peak = FindExtremum(model, first, last, 1);
  const double scale =
      kFaraday * 1e-6 * std::sqrt(kRunD * kRunFOverRT * model.ScanRate);  // nFAC sqrt(Dfv)
  EXPECT_NEAR(peak.I / (0.446295 * scale), 1.0, 2e-3);
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
  RunToTheEnd(model);
  Model general = model;
  general.UncompensatedResistance = 1e-9;
  RunToTheEnd(general);
  const int N1 = static_cast<int>(model.SweepPoints);
  Peak peak = FindExtremum(model, 1, N1, 1);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    ASSERT_NEAR(general.CurrentY(i, 1), model.CurrentY(i, 1), 4e-4 * peak.I) << i;
  double s = std::exp(kRunFOverRT * model.PulsePotential / 2);
  double height = kFaraday * 1e-6 * std::sqrt(kRunD / (kPiX * model.PulseTime)) * (1 - s) / (1 + s);
  EXPECT_NEAR(peak.I / height, 1.0, 0.01);
  EXPECT_NEAR(peak.E, -model.PulsePotential / 2, 0.003);
  // On the way back the pulse turns: an anodic peak of the same size.
  Peak back = FindExtremum(model, N1 + 1, model.NumberOfPoints, -1);
  EXPECT_NEAR(back.I / peak.I, 1.0, 0.02);
}

// Osteryoung's reversible square-wave peaks: Delta Psi = Delta i sqrt(pi tp) / (nFAC sqrt(D)).
struct SquareWaveCase {
  const char* name;
  double amplitude;   // n Esw, V
  double step;        // n Delta Es, V
  double peak;        // Delta Psi; 0: no table value
  double span = 0.3;  // the scan runs from +span to -span, V
};

class OsteryoungTable : public ::testing::TestWithParam<SquareWaveCase> {};

TEST_P(OsteryoungTable, ReversibleNetPeak) {
  const SquareWaveCase c = GetParam();
  Model model = Cell(5, c.span, -c.span, c.step, 0.5);
  model.PulsePotential = 2 * c.amplitude;  // peak to peak
  model.PulseTime = 0.01;
  model.ChargeKs(1) = 1e4;
  double scale = kFaraday * 1e-6 * std::sqrt(kRunD) / std::sqrt(kPiX * model.PulseTime);
  RunToTheEnd(model);
  Peak peak = FindExtremum(model, 1, model.NumberOfPoints, 1);
  if (c.peak > 0) {
    EXPECT_NEAR(peak.I / scale, c.peak, 2e-3 * c.peak);
  }
  // The general path (sub-stepped convolution, taken here because of a 1 nano-ohm resistance)
  // gives the same curve within 0.05 % of the peak, however many points: the steps per half
  // period do not depend on them.
  Model general = model;
  general.UncompensatedResistance = 1e-9;
  RunToTheEnd(general);
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    ASSERT_NEAR(general.CurrentY(i, 1), model.CurrentY(i, 1), 5e-4 * peak.I) << i;
}

// The last: 1001 points (0.5 V to -0.5 V in 1 mV steps).
const SquareWaveCase kSquareWaves[] = {{"Esw25mVStep5mV", 0.025, 0.005, 0.5649},
                                       {"Esw50mVStep5mV", 0.050, 0.005, 0.9186},
                                       {"Esw10mVStep10mV", 0.010, 0.010, 0.2726},
                                       {"Esw25mVStep1mV", 0.025, 0.001, 0.0, 0.5}};
INSTANTIATE_TEST_SUITE_P(Amplitudes, OsteryoungTable, ::testing::ValuesIn(kSquareWaves),
                         NameFrom<&SquareWaveCase::name>());

TEST(AnalyticalRun, ProtonsShiftTheDcWaveByRTOverFLn10PerPH) {
  // A + e + H+ = B: from pH 7 to pH 0 the half-wave potential moves 7 RT/F ln 10 = 414.12 mV
  // positive at 25 C (2.3 for ln 10 would leave it 0.5 mV short).
  double halfWave[2] = {};
  for (int acid = 0; acid < 2; ++acid) {
    Model model = Cell(2, 0.8, -0.4, 0.001, 0.5);
    model.DropTime = 1.0;
    model.ProtonCount(1) = 1.0;
    SimulationInputs inputs;
    inputs.pH = TypedNumber::Read(acid ? "0" : "7");
    const SimulationOutcome outcome = RunSimulation(model, inputs);
    ASSERT_TRUE(outcome.Done()) << outcome.failure->message;
    const double limiting = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPiX * model.DropTime));
    halfWave[acid] = PotentialAtLevel(model, limiting / 2);
  }
  EXPECT_NEAR(halfWave[1] - halfWave[0], 7 * std::log(10.0) / kRunFOverRT, 1e-4);
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
  RunToTheEnd(model);
  double shift = (std::log(1e-10) + 0.5 * std::log(2.0) - 4 * std::log(0.01)) / kRunFOverRT;
  double limiting = kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPiX * model.DropTime));
  EXPECT_NEAR(PotentialAtLevel(model, limiting / 2), shift, 1e-4);
}

TEST(AnalyticalRun, ExtremePotentialsEndTheRunWithTheErrorMessage) {
  // A DC wave's closed form needs exp(0.5 f 60 V), which does not fit a double.
  Model model = Cell(2, 60.0, -0.4, 1.0, 0.5);
  model.DropTime = 0.01;
  const SimulationOutcome outcome = RunSimulation(model, SimulationInputs{});
  ASSERT_FALSE(outcome.Done());
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_EQ(outcome.failure->message,
            "Analytical simulation Error: Overflow! Please try again by other initial values.");
  // A sweep solves Butler-Volmer with rates scaled to their sum, which never overflows: at
  // 60 V and beyond nothing is oxidised, since there is no B.
  Model sweep = Cell(1, 60.0, 50.0, 1.0, 0.5);
  sweep.DropTime = 0.01;
  RunToTheEnd(sweep);
  for (int i = 1; i <= sweep.NumberOfPoints; ++i)
    EXPECT_EQ(sweep.CurrentY(i, 1), 0.0) << i;
}

}  // namespace
}  // namespace qalto
