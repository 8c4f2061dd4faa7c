// Adsorbed species against the textbook: the reversible surface wave (peak n^2 F^2 A v Gamma /
// (4RT), width 3.53 RT/(nF), no separation), Laviron's peak separations against a direct
// integration of the surface rate law and his closed form in the irreversible limit, Frumkin's
// reversible peak for g = +-1, the Langmuir and Frumkin isotherms of an adsorption step, and
// the mechanisms the layer refuses.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "common/curve_peak.h"
#include "common/error_description.h"
#include "common/test_names.h"
#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"
#include "digital/surface_layer.h"

namespace qalto {
namespace {

using curve_test::Total;
using namespace digital_test;

constexpr double kGamma = 1e-10;  // mol/cm2
constexpr double kRT = kR * kTestTemperature;

// O(ads) + n e = R(ads), E0 0 V, all of the layer oxidized, 1 cm2, a cycle from +0.3 V at
// 0.1 V/s in 1 mV steps.
std::unique_ptr<Model> SurfaceCouple(double n = 1, double ks = 1e6, double alpha = 0.5) {
  auto m = PlanarReduction();
  m->ScanCycles = 1;
  m->ChargeN(1) = n;
  m->ChargeKs(1) = ks;  // 1/s
  m->ChargeAlpha(1) = alpha;
  m->SpeciesName(1) = "O(ads)";
  m->SpeciesName(2) = "R(ads)";
  m->SpeciesAdsorbed(1) = m->SpeciesAdsorbed(2) = 1;
  m->SpeciesGamma(1) = kGamma;
  m->SpeciesGamma(2) = 0.0;
  return m;
}

struct Peak {
  double E = 0;      // V
  double I = 0;      // A, positive
  double width = 0;  // at half height, V
};

// The peak of sign x current among points first..last, with its width at half height.
Peak FindPeak(const Model& m, int first, int last, double sign) {
  const curve_test::Samples y = curve_test::TotalCurrent(m, sign);
  const curve_test::Peak p = curve_test::FindPeak(m, y, first, last);
  return {p.E, p.I, curve_test::HalfWidth(m, y, first, last, p.I)};
}

Peak Cathodic(const Model& m) {
  return FindPeak(m, 2, m.SweepPoints - 1, 1.0);
}
Peak Anodic(const Model& m) {
  return FindPeak(m, m.SweepPoints + 2, m.NumberOfPoints - 1, -1.0);
}

// The reversible Frumkin wave, nF(E - E0)/RT = ln(x/(1 - x)) + g (1 - 2x), i = (n^2 F^2 A v
// Gamma / RT) x (1 - x) / (1 - 2 g x (1 - x)): its peak at x = 1/2 and the width where the
// current is half of it, x (1 - x) = h / (1 + 2 g h), h = 1 / (2 (4 - 2g)).
Peak FrumkinWave(double n, double g, double v) {
  const double f = n * kF / kRT;
  const double h = 1.0 / (2.0 * (4.0 - 2.0 * g));
  const double u = h / (1.0 + 2.0 * g * h);
  const double x = 0.5 * (1.0 - std::sqrt(1.0 - 4.0 * u));
  const double xi = std::log(x / (1.0 - x)) + g * (1.0 - 2.0 * x);
  return {0.0, n * n * kF * kF * v * kGamma / (kRT * (4.0 - 2.0 * g)), 2.0 * std::abs(xi) / f};
}

// Laviron's rate law of the layer's oxidized fraction x, integrated directly in steps of
// 0.002 mV of the sweep: dx/dt = b - (a + b) x, a = ks e^(-alpha xi), b = ks e^((1-alpha) xi),
// xi = f (E - E0), each step exactly with a and b frozen at its middle (stable however fast the
// transfer); the current is -dx/dt. Returns Epa - Epc, V.
double LavironSeparation(double ks, double alpha, double v, double Estart, double Eend) {
  const double f = kF / kRT;
  const double dE = 2e-6;  // V
  const double dt = dE / v;
  double peakE[2] = {0, 0};
  double x = 1.0;
  for (int branch = 0; branch < 2; ++branch) {
    const double from = branch == 0 ? Estart : Eend;
    const double to = branch == 0 ? Eend : Estart;
    const double sign = to > from ? 1.0 : -1.0;
    const long steps = std::lround(std::abs(to - from) / dE);
    double best = 0.0, before = 0.0, previous = 0.0;
    for (long k = 0; k < steps; ++k) {
      const double E = from + sign * k * dE;
      const double xi = f * (E + sign * dE / 2);
      const double a = ks * std::exp(-alpha * xi), b = ks * std::exp((1.0 - alpha) * xi);
      const double equilibrium = b / (a + b);
      x = equilibrium + (x - equilibrium) * std::exp(-(a + b) * dt);
      const double end = f * (E + sign * dE);
      const double current =
          sign * (ks * std::exp((1.0 - alpha) * end) * (1.0 - x) - ks * std::exp(-alpha * end) * x);
      if (k > 1 && previous > before && previous >= current && previous > best) {
        best = previous;
        const double shift = 0.5 * (before - current) / (before - 2.0 * previous + current);
        peakE[branch] = E + sign * dE * shift;
      }
      before = previous;
      previous = current;
    }
  }
  return peakE[1] - peakE[0];
}

struct LavironCase {
  double alpha;
  double v;  // V/s
};

class LavironSeparations : public ::testing::TestWithParam<LavironCase> {};

// ks 100 1/s at 0.1 to 1000 V/s: from a near-reversible wave to the irreversible limit, where
// Epc = E0 - RT/(alpha F) ln(alpha F v / (RT ks)) and Epa = E0 + RT/((1 - alpha) F)
// ln((1 - alpha) F v / (RT ks)), and the cathodic peak is Laviron's irreversible one.
TEST_P(LavironSeparations, FollowTheSurfaceRateLaw) {
  const auto [alpha, v] = GetParam();
  constexpr double ks = 100.0;
  auto m = SurfaceCouple(1.0, ks, alpha);
  m->StartPotential = 0.7;
  m->EndPotential = -0.7;
  m->ScanRate = v;
  m->DropTime = m->PotentialStep / v;
  Simulate(*m);
  const double separation = Anodic(*m).E - Cathodic(*m).E;
  EXPECT_NEAR(separation, LavironSeparation(ks, alpha, v, 0.7, -0.7), 0.001);
  const double f = kF / kRT;
  if (separation > 0.2) {
    const double Epc = -std::log(alpha * f * v / ks) / (alpha * f);
    const double Epa = std::log((1.0 - alpha) * f * v / ks) / ((1.0 - alpha) * f);
    EXPECT_NEAR(Cathodic(*m).E, Epc, 0.001);
    EXPECT_NEAR(Anodic(*m).E, Epa, 0.001);
  }
  if (separation > 0.5) {  // the back reaction negligible at the cathodic peak: its height
    // alpha F^2 A v Gamma / (e RT) and width 2.4465 RT / (alpha F) (where x e^(1-x) = 1/2)
    const Peak cathodic = Cathodic(*m);
    EXPECT_NEAR(cathodic.I / (alpha * f * kF * v * kGamma / std::exp(1.0)), 1.0, 0.003);
    EXPECT_NEAR(cathodic.width, 2.4465 / (alpha * f), 0.0005);
  }
}

// Alpha 0.5 at 10 and 100 V/s (98.5 and 305.7 mV, Epc -152.9 mV): the scenario adsorbed_layer.
const LavironCase kLavironCases[] = {{0.5, 0.1}, {0.5, 1},  {0.5, 1000}, {0.3, 0.1},
                                     {0.3, 1},   {0.3, 10}, {0.3, 100},  {0.3, 1000}};
INSTANTIATE_TEST_SUITE_P(ScanRates, LavironSeparations, ::testing::ValuesIn(kLavironCases),
                         [](const auto& info) {  // "Alpha05V01": alpha 0.5 at 0.1 V/s
                           return WordsAsName("alpha " + testing::PrintToString(info.param.alpha) +
                                              " v " + testing::PrintToString(info.param.v));
                         });

struct SurfaceWaveCase {
  const char* name;
  double n;  // electrons
  double g;  // Frumkin interaction
};

class ReversibleSurfaceWave : public ::testing::TestWithParam<SurfaceWaveCase> {};

// Langmuir's layer (g 0) gives the thin-layer shape, n^2 F^2 A v Gamma / (4RT) high and
// 3.53 RT/(nF) (90.6 mV / n) wide; attraction (g 1) raises and narrows it, repulsion (g -1)
// lowers and broadens it, as the Frumkin wave says. Both peaks at E0, where half of the layer
// is reduced and none of it lost.
TEST_P(ReversibleSurfaceWave, FollowsTheFrumkinWave) {
  const double n = GetParam().n, g = GetParam().g;
  auto m = SurfaceCouple(n);
  m->LayerInteraction = g;
  Simulate(*m);
  const Peak expected = FrumkinWave(n, g, 0.1);
  if (g == 0) {
    EXPECT_NEAR(expected.width, 0.0906 / n, 0.0001);
  }
  for (const Peak& p : {Cathodic(*m), Anodic(*m)}) {
    EXPECT_NEAR(p.I / expected.I, 1.0, 0.005);
    EXPECT_NEAR(p.width, expected.width, 0.001);
    EXPECT_NEAR(p.E, 0.0, 0.0005);
  }
  const int atE0 = static_cast<int>(std::lround(0.3 / m->PotentialStep)) + 1;
  EXPECT_NEAR(m->SurfaceConcentrations(atE0, 1) / kGamma, 0.5, 0.02);
  EXPECT_NEAR((m->SurfaceConcentrations(atE0, 1) + m->SurfaceConcentrations(atE0, 2)) / kGamma, 1.0,
              1e-9);
}

// One electron at g 0, 1 and -1 (9.388, 18.78 and 6.26 uA; 90.6, 38.0 and 145.8 mV wide): the
// scenario adsorbed_layer.
const SurfaceWaveCase kSurfaceWaves[] = {{"TwoElectrons", 2, 0}, {"WeakAttraction", 1, 0.5}};
INSTANTIATE_TEST_SUITE_P(Layers, ReversibleSurfaceWave, ::testing::ValuesIn(kSurfaceWaves),
                         NameFrom<&SurfaceWaveCase::name>());

class PreEquilibratedLayer : public ::testing::TestWithParam<double> {};

// Pre-equil: a sweep from 30 mV positive of E0 starts from the layer at rest there: its first
// point (at E start) passes no current, where a layer forced to equilibrium would pass a spike,
// and from the fifth on it carries the reversible wave's current, (F^2 v A Gamma / RT) x (1 - x)
// / (1 - 2g x (1 - x)) with x of the Frumkin equilibrium.
TEST_P(PreEquilibratedLayer, StartsAtRestAtEStart) {
  const double g = GetParam();
  auto m = SurfaceCouple();
  m->LayerInteraction = g;
  m->StartPotential = 0.03;
  m->PreEquilibrate = true;
  Simulate(*m);
  const double peak = Cathodic(*m).I;
  EXPECT_LT(std::abs(Total(*m, 1)), 1e-6 * peak);
  const double E = m->PotentialX(5);
  double low = 0.0, high = 1.0;  // x at E by bisection: ln(x/(1-x)) + g (1 - 2x) = f E
  for (int k = 0; k < 100; ++k) {
    const double x = 0.5 * (low + high);
    (std::log(x / (1.0 - x)) + g * (1.0 - 2.0 * x) < kF / kRT * E ? low : high) = x;
  }
  const double x = 0.5 * (low + high);
  const double wave =
      kF * kF * 0.1 * kGamma / kRT * x * (1.0 - x) / (1.0 - 2.0 * g * x * (1.0 - x));
  EXPECT_NEAR(Total(*m, 5), wave, 0.01 * peak);
  EXPECT_NEAR(m->SurfaceConcentrations(5, 1) / kGamma, x, 0.002);
}

INSTANTIATE_TEST_SUITE_P(Interactions, PreEquilibratedLayer, ::testing::Values(0.0, 1.0),
                         NumberName());

class AdsorptionIsotherm : public ::testing::TestWithParam<double> {};

// A = A(ads) with fast adsorption from 1 mM A onto an empty layer of Gamma max 2e-10 mol/cm2,
// far from the couple A(ads) + e = B(ads) (E0 -2 V): at the end of the sweep the layer holds
// the Frumkin isotherm of the surface concentration, K C(0) = theta/(1 - theta) e^(-2 g theta),
// K = kf / (kb Gamma max).
TEST_P(AdsorptionIsotherm, HoldsAtEquilibrium) {
  const double g = GetParam();
  auto m = PlanarReduction();
  m->SpeciesCount = 3;
  m->SpeciesName(1) = "A(ads)";
  m->SpeciesName(2) = "B(ads)";
  m->SpeciesName(3) = "A";
  m->SpeciesAdsorbed(1) = m->SpeciesAdsorbed(2) = 1;
  m->SpeciesGamma(1) = m->SpeciesGamma(2) = 0.0;
  m->SpeciesC(1) = 0.0;
  m->SpeciesC(3) = 1e-3;
  m->SpeciesD(3) = 1e-5;
  m->ChargeE0(1) = -2.0;
  AddFirstOrderReaction(*m, 3, 1, 10.0, 1e4);  // kf cm/s, kb 1/s
  m->LayerSaturation = 2e-10;
  m->LayerInteraction = g;
  ASSERT_FALSE(SurfaceLayerProblem(*m));
  Simulate(*m);
  const int last = m->NumberOfPoints;
  const double theta = m->SurfaceConcentrations(last, 1) / m->LayerSaturation;
  const double K = 10.0 / (1e4 * m->LayerSaturation) * 1e-3;  // per M
  const double C0 = m->SurfaceConcentrations(last, 3);
  EXPECT_GT(theta, 0.2);
  EXPECT_NEAR(K * C0, theta / (1.0 - theta) * std::exp(-2.0 * g * theta), 1e-3 * K * C0);
}

INSTANTIATE_TEST_SUITE_P(Interactions, AdsorptionIsotherm, ::testing::Values(0.0, 1.0, -1.0),
                         NumberName());

// The layer's surface solve on a dissolved couple: A + e = B beside an empty layer that nothing
// fills (C = C(ads), no C) gives the usual quasi-reversible wave (ks 0.01 cm/s) of the surface
// rows, point by point.
TEST(AdsorbedLayer, DissolvedCoupleBesideAnEmptyLayerIsTheUsualWave) {
  auto plain = PlanarReduction();
  plain->ScanCycles = 1;
  plain->ChargeKs(1) = 0.01;
  auto layered = std::make_unique<Model>(*plain);
  layered->SpeciesCount = 4;
  layered->SpeciesName(3) = "C";
  layered->SpeciesName(4) = "C(ads)";
  layered->SpeciesAdsorbed(4) = 1;
  layered->SpeciesD(3) = 1e-5;
  layered->SpeciesC(3) = 0.0;
  layered->SpeciesGamma(4) = 0.0;
  AddFirstOrderReaction(*layered, 3, 4, 1.0, 1.0);
  layered->LayerSaturation = 1e-10;
  Simulate(*plain);
  Simulate(*layered);
  ASSERT_EQ(plain->NumberOfPoints, layered->NumberOfPoints);
  const double peak = Cathodic(*plain).I;
  for (int i = 1; i <= plain->NumberOfPoints; ++i)
    ASSERT_NEAR(layered->ReactionCurrents(i, 1), plain->ReactionCurrents(i, 1), 1e-9 * peak)
        << "point " << i;
}

struct RefusedCase {
  const char* what;
  const char* message;
};

class RefusedLayer : public ::testing::TestWithParam<RefusedCase> {};

// The refusal of an electron transfer between a dissolved and an adsorbed species, word for
// word: the scenario adsorbed_layer.

TEST_P(RefusedLayer, SaysWhatIsWrong) {
  auto m = SurfaceCouple();
  const std::string what = GetParam().what;
  if (what == "idle") {
    m->SpeciesCount = 3;
    m->SpeciesName(3) = "C(ads)";
    m->SpeciesAdsorbed(3) = 1;
  }
  if (what == "disc") m->Electrode = Electrode::kMicrodisc;
  if (what == "impedance") m->Technique = Technique::kImpedance;
  if (what == "second") AddSecondOrderReaction(*m, 2, 0, 0, 0, 0.0);
  if (what == "overfull") {
    m->SpeciesCount = 3;
    m->SpeciesName(3) = "O";
    AddFirstOrderReaction(*m, 3, 1, 0);
    m->LayerSaturation = 0.5 * kGamma;
  }
  const auto problem = SurfaceLayerProblem(*m);
  ASSERT_TRUE(problem);
  EXPECT_EQ(*problem, GetParam().message);
  EXPECT_EQ(ErrorDescription([&] { Simulate(*m); }),
            "Invalid procedure call or argument: " + *problem);
}

INSTANTIATE_TEST_SUITE_P(
    Mechanisms, RefusedLayer,
    ::testing::Values(
        RefusedCase{"idle",
                    "C(ads) is adsorbed but takes part in no surface couple (X(ads) + e = Y(ads)) "
                    "and no adsorption step (X = X(ads))"},
        RefusedCase{"disc",
                    "adsorbed species are simulated at the electrodes of one dimension, not at "
                    "the microdisc"},
        RefusedCase{"impedance",
                    "the impedance spectrum is computed for dissolved species only; adsorbed "
                    "species take the techniques of a potential program"},
        RefusedCase{"second",
                    "second-order reaction 1 involves the adsorbed R(ads); reactions in the layer "
                    "are first-order"},
        RefusedCase{"overfull",
                    "the adsorbed species' Γ add up to more than Γmax (mol/cm²): the layer holds "
                    "at most Γmax"}),
    NameFrom<&RefusedCase::what>());

}  // namespace
}  // namespace qalto
