// Simulate with technique 10: the spectrum of the model's mechanism in the curve store, and the
// electrodes, mechanisms and boxes it refuses. The Randles circuit of a reversible and a slow
// couple and the thin film's capacitance through the driver: the scenario impedance_randles;
// the refusal of a second-order reaction, the store left as it was: impedance_chemistry.
#include "simulation/impedance_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

Model ImpedanceModel(int electrode = 1) {
  Model model = AnalyticalRunModel(10, electrode);
  model.DcPotential = kRunE0;  // E1/2 of equal diffusion coefficients
  model.FrequencyFrom = 1e5;
  model.FrequencyTo = 1e-3;
  model.PointsPerDecade = 5;
  model.UncompensatedResistance = 50;
  model.DoubleLayerCapacitance = 20e-6;
  return model;
}

std::complex<double> Stored(const Model& model, int i, int curve = 1) {
  return {model.CurrentY(i, curve), model.CurrentY(model.SpectrumFrequencies + i, curve)};
}

// A small sphere's spectrum ends in a resistance (its steady state) at low frequency.
TEST(ImpedanceRun, SmallSphereTurnsResistiveAtLowFrequency) {
  Model sphere = ImpedanceModel(2);
  sphere.Radius = 5e-4;
  sphere.ElectrodeArea = 4 * kPi * 5e-4 * 5e-4;
  sphere.DoubleLayerCapacitance = 0;  // 20 uF would short a 5 um sphere at 1 mHz
  ASSERT_TRUE(RunSimulation(sphere, {}).Done());
  const std::complex<double> steady = Stored(sphere, sphere.SpectrumFrequencies);
  EXPECT_LT(std::fabs(steady.imag()), 0.01 * steady.real());
}

// In a fit the frequencies are the measured spectrum's, already in the store.
TEST(ImpedanceRun, FitTakesTheFrequenciesOfTheStore) {
  Model model = ImpedanceModel();
  ASSERT_TRUE(RunSimulation(model, {}).Done());
  const std::complex<double> at100 = Stored(model, 16);  // 1e5 Hz down 15 fifths of a decade
  EXPECT_NEAR(model.PotentialX(16), 100.0, 1e-9);
  Model fit = model;
  fit.FitMode = true;
  fit.SpectrumFrequencies = 1;
  fit.PotentialX(1) = fit.PotentialX(2) = model.PotentialX(16);
  ASSERT_TRUE(RunSimulation(fit, {}).Done());
  EXPECT_EQ(fit.CurrentCurve, 2);
  EXPECT_EQ(Stored(fit, 1, 2), at100);
}

struct Refusal {
  const char* what;
  void (*change)(Model&);
  const char* message;  // between the run's words before and after
};

class ImpedanceRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(ImpedanceRefusal, LeavesTheStoreAsItWasWithTheMessage) {
  Model model = ImpedanceModel();
  ASSERT_TRUE(RunSimulation(model, {}).Done());
  const double before = model.CurrentY(5, 1);
  GetParam().change(model);
  const SimulationOutcome outcome = RunSimulation(model, {});
  ASSERT_FALSE(outcome.Done());
  EXPECT_TRUE(outcome.refused);  // nothing was written
  EXPECT_EQ(outcome.failure->message,
            "Analytical simulation Error: " + std::string(GetParam().message) +
                "! Please try again by other initial values.");
  EXPECT_EQ(model.CurrentY(5, 1), before);
  EXPECT_EQ(model.SpectrumFrequencies, 41);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ImpedanceRefusal,
    testing::Values(
        Refusal{"Microdisc", [](Model& m) { m.Electrode = Electrode::kMicrodisc; },
                "No impedance model for the microdisc: the frequency domain is exact at the "
                "planar, spherical and hemispherical electrodes and the thin film"},
        Refusal{"ChainOfReactions",
                [](Model& m) {
                  m.Mechanism = 0;
                  m.SpeciesCount = 3;
                  m.FirstOrderReactionCount = 2;
                  m.FirstOrderReactionSpecies(1, 1) = m.FirstOrderReactionSpecies(2, 1) = 2;
                  m.FirstOrderReactionSpecies(1, 2) = 1;
                  m.FirstOrderReactionSpecies(2, 2) = 3;
                },
                "No impedance model for this mechanism: the spectrum is computed where each "
                "species reacts with at most one other in chemical reactions"},
        Refusal{"NegativeRate",
                [](Model& m) {
                  m.Mechanism = 7;
                  m.SpeciesCount = 3;
                  AddFirstOrderReaction(m, 2, 3, 0, -1);
                },
                "Invalid procedure call or argument: kb of chemical reaction 1 is -1"},
        Refusal{"ZeroFrequency", [](Model& m) { m.FrequencyTo = 0; },
                "Invalid procedure call or argument: f to (Hz) is 0"},
        Refusal{"NoPointsPerDecade", [](Model& m) { m.PointsPerDecade = 0.5; },
                "Invalid procedure call or argument: f points/decade is .5"},
        Refusal{"TooManyFrequencies",
                [](Model& m) {
                  m.FrequencyFrom = 1e-300;
                  m.FrequencyTo = 1e300;
                  m.PointsPerDecade = 1000;
                },
                "Invalid procedure call or argument: the spectrum of 600001 frequencies is longer "
                "than 50000"},
        Refusal{"NoAdmittance",
                [](Model& m) {
                  m.DoubleLayerCapacitance = 0;
                  m.SpeciesC(1) = 0;
                },
                "Overflow: Z at 100000 Hz is beyond the number range (no double layer and no "
                "reactant at E dc (V) -.1)"}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.what); });

// Marcus-Hush kinetics 50 mV from E0, where the rates and the transfer coefficient of a slow
// couple set the charge-transfer resistance: lambda 50 eV gives Butler-Volmer's spectrum with
// alpha 1/2 within 0.1 %, lambda 0.3 eV the larger resistance of its slower rates.
TEST(ImpedanceRun, MarcusHushSpectrumTendsToButlerVolmersAtLargeLambda) {
  auto spectrum = [](double lambda) {
    Model model = ImpedanceModel();
    model.DcPotential = kRunE0 + 0.05;
    model.ChargeKs(1) = 1e-3;
    model.ChargeLambda(1) = lambda;
    model.UncompensatedResistance = 0;
    model.DoubleLayerCapacitance = 0;
    EXPECT_TRUE(RunSimulation(model, {}).Done());
    return model;
  };
  const Model butlerVolmer = spectrum(0.0);
  const Model large = spectrum(50.0);
  const Model small = spectrum(0.3);
  for (int i = 1; i <= butlerVolmer.SpectrumFrequencies; ++i) {
    const std::complex<double> bv = Stored(butlerVolmer, i);
    EXPECT_LT(std::abs(Stored(large, i) - bv), 1e-3 * std::abs(bv)) << i;
  }
  EXPECT_GT(Stored(small, 1).real(), 1.01 * Stored(butlerVolmer, 1).real());
}

}  // namespace
}  // namespace qalto
