// The thin film in both modes: diffusion between the electrode and a wall at the film thickness.
// A thin layer gives Hubbard's thin-layer wave, a thick one the planar wave, and between them the
// two modes agree; a potential step empties the layer with the textbook's series of modes.

#include <gtest/gtest.h>

#include <cmath>

#include "common/constants.h"
#include "common/curve_peak.h"
#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

constexpr double kC = 1e-6;  // mol/cm3

// A + e = B, 1 mM, 1 cm2, D 1e-5 cm2/s, reversible, swept from 0.2 V to -0.4 V (E0' -0.1 V) in
// 1 mV steps at 0.1 V/s, in a film of thickness L (cm).
Model FilmModel(bool digital, int technique, double L) {
  Model m = AnalyticalRunModel(technique, Number(Electrode::kThinFilm));
  m.DigitalSimulation = digital;
  m.ElectrodeLength = L;
  return m;
}

using curve_test::Peak;
using curve_test::Total;
using curve_test::TotalPeak;

class ThinLayerTest : public testing::TestWithParam<bool> {};

// 1 um: L^2 is 4e-3 of D RT/(Fv). Hubbard: ip = F^2 v A L C / (4RT) at E0', the reduction and
// the oxidation peaks at the same potential, Ep/2 1.763 RT/F before Ep (90.6 mV wide at 25 C).
TEST_P(ThinLayerTest, ThinLayerIsHubbardsWave) {
  Model m = FilmModel(GetParam(), 1, 1e-4);
  m.ScanCycles = 1;
  RunToTheEnd(m);
  const int half = m.NumberOfPoints / 2;
  const Peak reduction = TotalPeak(m, 2, half);
  const double ip = kFaraday * m.FOverRT * m.ScanRate * 1e-4 * kC / 4;  // A
  EXPECT_NEAR(reduction.I / ip, 1.0, 0.005);
  EXPECT_NEAR(reduction.E, kRunE0, 0.001);
  const double halfPeak = curve_test::Crossing(m, curve_test::TotalCurrent(m), 1, m.NumberOfPoints,
                                               0.5 * reduction.I);  // where it first reaches ip/2
  EXPECT_NEAR(reduction.E - halfPeak, -1.7627 * m.RTOverF, 0.001);
  // The oxidation: the same peak mirrored.
  const Peak oxidation = TotalPeak(m, half + 2, m.NumberOfPoints - 1, -1.0);
  EXPECT_NEAR(oxidation.I / ip, 1.0, 0.005);
  EXPECT_NEAR(oxidation.E - reduction.E, 0.0, 0.001);
}

// 1 um, slow transfer (ks 1e-6 cm/s, alpha 0.5): Hubbard's irreversible thin-layer peak
// alpha F^2 v A L C / (e RT) at E0' - (RT/(alpha F)) ln(alpha F v L / (RT ks)), 270.8 mV past it
// (a converged finite-difference run of the layer: 0.007 % and 3 uV from these).
TEST_P(ThinLayerTest, SlowTransferIsHubbardsIrreversibleWave) {
  Model m = FilmModel(GetParam(), 1, 1e-4);
  m.ChargeKs(1) = 1e-6;
  m.EndPotential = -0.6;
  RunToTheEnd(m);
  const Peak reduction = TotalPeak(m, 2, m.NumberOfPoints - 1);
  const double af = 0.5 * m.FOverRT, v = m.ScanRate;
  EXPECT_NEAR(reduction.I / (kFaraday * af * v * 1e-4 * kC / std::exp(1.0)), 1.0, 0.001);
  EXPECT_NEAR(reduction.E, kRunE0 - std::log(af * v * 1e-4 / 1e-6) / af, 1e-4);
}

// 1 mm: the diffusion layer never reaches the wall. Randles-Sevcik 0.4463 F A C sqrt(F v D/RT),
// at E1/2 - 1.109 RT/F; and at 1 cm the analytical run is the planar one to the last digit.
TEST_P(ThinLayerTest, ThickFilmIsThePlanarWave) {
  Model m = FilmModel(GetParam(), 1, 0.1);
  RunToTheEnd(m);
  const Peak p = TotalPeak(m, 2, m.NumberOfPoints - 1);
  const double ip = 0.4463 * kFaraday * kC * std::sqrt(m.FOverRT * m.ScanRate * kRunD);
  EXPECT_NEAR(p.I / ip, 1.0, 0.005);
  EXPECT_NEAR(p.E, kRunE0 - 1.109 * m.RTOverF, 0.001);
  if (GetParam()) return;
  Model planar = AnalyticalRunModel(1, Number(Electrode::kPlanar));
  RunToTheEnd(planar);
  m.ElectrodeLength = 1.0;
  RunToTheEnd(m);
  for (int i = 1; i <= m.NumberOfPoints; ++i)
    ASSERT_EQ(Total(m, i), Total(planar, i)) << i;
}

// The current at t of a step from rest to the diffusion limit in a layer of thickness L, A:
// (2 F A D C / L) sum_k exp(-(2k+1)^2 pi^2 D t / (4 L^2)).
double LayerStepCurrent(double L, double t) {
  double sum = 0.0;
  for (int k = 0; k < 200; ++k) {
    const double q = (2 * k + 1) * kPi / (2 * L);
    sum += std::exp(-q * q * kRunD * t);
  }
  return 2 * kFaraday * kRunD * kC / L * sum;
}

// A step from rest to the diffusion limit empties a layer of 10 um (L^2/D = 0.1 s) with its
// modes, and the charge tends to F A L C.
TEST_P(ThinLayerTest, StepEmptiesTheLayerWithItsModes) {
  const double L = 1e-3;  // cm
  Model m = FilmModel(GetParam(), 7, L);
  LimitingStep(m, 1.0, 0.001);
  RunToTheEnd(m);
  for (double t : {0.001, 0.005, 0.02, 0.05, 0.1, 0.2}) {
    const int i = static_cast<int>(std::lround(t / m.SampleTime));
    EXPECT_NEAR(Total(m, i) / LayerStepCurrent(L, t), 1.0, 0.005) << "t = " << t << " s";
  }
  EXPECT_NEAR(m.PassedCharge(m.NumberOfPoints) / (kFaraday * L * kC), 1.0, 0.001);
}

// A DC wave in a layer of 10 um, each drop from rest sampled after 50 ms (half of L^2/D): its
// plateau is the step's current at the drop time.
TEST_P(ThinLayerTest, DcPlateauIsTheStepCurrentAtTheDropTime) {
  const double L = 1e-3;  // cm
  Model m = FilmModel(GetParam(), 2, L);
  m.DropTime = 0.05;
  m.PotentialStep = 0.005;
  RunToTheEnd(m);
  EXPECT_NEAR(Total(m, m.NumberOfPoints) / LayerStepCurrent(L, m.DropTime), 1.0, 0.005);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ThinLayerTest, testing::Bool(), ModeName);

// Between the limits the wall and the diffusion layer meet: the two modes agree at every point
// within 0.5 % of the peak, on a cycle through 20, 50 and 100 um films.
class ThinLayerModesTest : public testing::TestWithParam<double> {};

TEST_P(ThinLayerModesTest, AnalyticalAndDigitalAgree) {
  Model model = FilmModel(false, 1, GetParam());
  model.ScanCycles = 1;
  EXPECT_TRUE(ModesAgree(model));
}

INSTANTIATE_TEST_SUITE_P(Thicknesses, ThinLayerModesTest, testing::Values(2e-3, 5e-3, 1e-2),
                         NumberName());

}  // namespace
}  // namespace qalto
