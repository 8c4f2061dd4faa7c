#pragma once
// A whole analytical run of mechanism 1 (A + e = B) as the driver receives it from the forms:
// ks = 1e3 cm/s (reversible), 1 mM of A, no B, equal diffusion coefficients, 25 C, 1 cm2, a
// single sweep from 0.2 V to -0.4 V in 1 mV steps at 0.1 V/s.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/constants.h"
#include "common/test_names.h"
#include "model/experiment_table.h"
#include "model/model.h"
#include "simulation/simulation_driver.h"

namespace qalto {

inline constexpr double kRunC = 1e-3;   // bulk concentration of A, M
inline constexpr double kRunD = 1e-5;   // diffusion coefficient of A and B, cm2/s
inline constexpr double kRunE0 = -0.1;  // formal potential, V
inline constexpr double kRunFOverRT = kFaraday / kGasConstant / 298.14;  // F/RT at 25 C, 1/V

// Adds the charge transfer ox + e = red at E0 (ks 1e3 cm/s, alpha 0.5) as the model's next one.
inline void AddChargeReaction(Model& m, int ox, int red, double E0) {
  const int r = ++m.ChargeReactionCount;
  m.ChargeReactionSpecies(r, 1) = ox;
  m.ChargeReactionSpecies(r, 2) = red;
  m.ChargeReactionStoich(r, 1) = m.ChargeReactionStoich(r, 2) = 1;
  m.ChargeKs(r) = 1e3;
  m.ChargeAlpha(r) = 0.5;
  m.ChargeN(r) = 1;
  m.ChargeE0(r) = E0;
}

inline Model AnalyticalRunModel(int technique, int electrode) {
  Model model;
  model.Technique = TechniqueNumbered(technique);
  model.Electrode = ElectrodeNumbered(electrode);
  model.Mechanism = 1;
  model.AnalyticalCase = {model.Technique, model.Electrode};
  model.Temperature = 298.14;
  model.FOverRT = kRunFOverRT;
  model.RTOverF = 1.0 / model.FOverRT;
  model.StartPotential = 0.2;
  model.EndPotential = -0.4;
  model.PotentialStep = 0.001;
  model.ScanRate = 0.1;
  model.DropTime = model.PotentialStep / model.ScanRate;  // s: DC drops at the pace of the sweep
  model.PulseTime = 0.025;
  model.PulsePotential = -0.05;
  model.ScanCycles = 0.5;
  model.ElectrodeArea = 1.0;
  model.Radius = 0.2821;
  model.RotationRate = 100 * kPi / 30;
  model.KinematicViscosity = 0.01;
  model.SpeciesCount = 2;
  AddChargeReaction(model, 1, 2, kRunE0);
  model.SpeciesC(1) = kRunC;
  model.SpeciesD(1) = kRunD;
  model.SpeciesD(2) = kRunD;
  return model;
}

// Adds the first-order reaction `from` -> `to` (kf, and kb back) as the model's next one.
inline void AddFirstOrderReaction(Model& m, int from, int to, double kf, double kb = 0) {
  const int r = ++m.FirstOrderReactionCount;
  m.FirstOrderReactionSpecies(r, 1) = from;
  m.FirstOrderReactionSpecies(r, 2) = to;
  m.ForwardRateConstant(r) = kf;
  m.BackwardRateConstant(r) = kb;
}

// Adds the second-order reaction a + b -> c + d (kf, 1/(M s); species 0: none) as the next one.
inline void AddSecondOrderReaction(Model& m, int a, int b, int c, int d, double kf) {
  const int r = ++m.SecondOrderReactionCount;
  const int species[] = {a, b, c, d};
  for (int k = 1; k <= 4; ++k)
    m.SecondOrderReactionSpecies(r, k) = species[k - 1];
  m.ForwardRateConstant(m.FirstOrderReactionCount + r) = kf;
}

// The run's couple under a sine of `amplitude` V at `frequency` Hz (technique 9), swept
// digitally from E0 + span to E0 - span at `rate` V/s.
inline Model AcRunModel(double span, double rate, double amplitude, double frequency,
                        Electrode electrode = Electrode::kPlanar) {
  Model model = AnalyticalRunModel(9, Number(electrode));
  model.DigitalSimulation = true;
  model.StartPotential = kRunE0 + span;
  model.EndPotential = kRunE0 - span;
  model.ScanRate = rate;
  model.AcAmplitude = amplitude;
  model.AcFrequency = frequency;
  return model;
}

// A single step of the run's fast couple (ks 10 cm/s) from 0.2 V to 0.4 V past E0, the
// diffusion limit, held t1 and sampled every `sample` s.
inline void LimitingStep(Model& m, double t1, double sample) {
  m.ChargeKs(1) = 10.0;
  m.StepPotential1 = kRunE0 - 0.4;
  m.StepTime1 = t1;
  m.StepPotential2 = kRunE0 + 0.4;
  m.StepTime2 = 0.0;
  m.SampleTime = sample;
}

// Cottrell's current nFAC sqrt(D / (pi t)) of the run's 1 mM of A on 1 cm2, A.
inline double Cottrell(double t) {
  return kFaraday * kRunC * 1e-3 * std::sqrt(kRunD / (kPi * t));
}

// The largest difference of the two curves over the largest value of the first.
inline double RelativeDifference(const std::vector<double>& a, const std::vector<double>& b) {
  double largest = 0, difference = 0;
  for (std::size_t k = 0; k < a.size() && k < b.size(); ++k) {
    largest = std::max(largest, std::fabs(a[k]));
    difference = std::max(difference, std::fabs(a[k] - b[k]));
  }
  return difference / largest;
}

// What the forms give every run at start: pH 7, no baseline, Expanding grid 0.5.
inline SimulationInputs StartInputs() {
  SimulationInputs inputs;
  inputs.pH = TypedNumber::Read("7");
  inputs.baselineStart = TypedNumber::Read("0");
  inputs.baselineEnd = TypedNumber::Read("0");
  inputs.expandingGrid = TypedNumber::Read("0.5");
  return inputs;
}

// Runs the model with the forms' inputs; the run must give a curve.
inline void RunToTheEnd(Model& m) {
  const SimulationOutcome outcome = RunSimulation(m, StartInputs());
  ASSERT_TRUE(outcome.Done()) << outcome.failure->message;
  ASSERT_TRUE(outcome.messages.empty()) << outcome.messages.front();
}

// Runs the model in the analytical or the digital mode.
inline void SimulateInMode(Model& m, bool digital) {
  m.DigitalSimulation = digital;
  RunToTheEnd(m);
}

// The run ends in a failure whose message holds the words.
inline ::testing::AssertionResult RefusedSaying(Model& m, const std::string& words,
                                                const SimulationInputs& inputs = StartInputs()) {
  const SimulationOutcome outcome = RunSimulation(m, inputs);
  if (outcome.Done()) return ::testing::AssertionFailure() << "ran, not refused: " << words;
  if (outcome.failure->message.find(words) != std::string::npos)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << outcome.failure->message;
}

// An electrode's caption as a test's name ("RotatingDisk").
inline std::string ElectrodeName(const ::testing::TestParamInfo<Electrode>& info) {
  return WordsAsName(RowOf(info.param).caption);
}

// The analytical and the digital run of the model agree within the tolerance, relative to the
// largest current, at every point.
inline ::testing::AssertionResult ModesAgree(const Model& model, double tolerance = 0.005) {
  Model analytical = model, digital = model;
  SimulateInMode(analytical, false);
  SimulateInMode(digital, true);
  if (analytical.NumberOfPoints != digital.NumberOfPoints)
    return ::testing::AssertionFailure() << "the modes give different numbers of points";
  double peak = 0, worst = 0;
  int at = 1;
  for (int i = 1; i <= analytical.NumberOfPoints; ++i) {
    peak = std::max(peak, std::fabs(analytical.CurrentY(i, 1)));
    const double d = std::fabs(analytical.CurrentY(i, 1) - digital.CurrentY(i, 1));
    if (d > worst) worst = d, at = i;
  }
  if (worst <= tolerance * peak) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "at " << analytical.PotentialX(at) << " V: analytical " << analytical.CurrentY(at, 1)
         << " A, digital " << digital.CurrentY(at, 1) << " A";
}

}  // namespace qalto
