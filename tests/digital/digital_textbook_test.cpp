// The digital simulation against the textbook values of every electrode and technique, at the
// default grid, and its convergence: a run on a grid and time steps twice as fine moves the
// peak by less than the tolerance (0.5 % of the current, 1 mV of the potential). The reversible
// planar sweep (Randles-Sevcik at three steps) and the sweep at a sphere of 0.282 cm (the planar
// peak plus the spherical term): the scenario digital_textbook; the thin film's sweep and the
// charge it holds: thin_layer_test. The irreversible sweep, Nicholson's peak separations and
// the following reaction's peak shifts: the same runs agree with the analytical ones at every
// point (analytical_vs_digital_test), whose peaks are the textbook's (the scenarios
// analytical_slow_sweep and analytical_kinetics).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "common/curve_peak.h"
#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"
#include "simulation/convolution_run.h"

namespace qalto {
namespace {

using curve_test::Peak;
using curve_test::Total;
using namespace digital_test;

constexpr double kCurrentTolerance = 0.005;
constexpr double kPotentialTolerance = 0.001;  // V

Peak FindPeak(const Model& m, int first = 1, int last = 0) {
  return curve_test::FindPeak(m, curve_test::TotalCurrent(m), first,
                              last ? last : m.NumberOfPoints);
}

double HalfWidth(const Model& m) {
  return curve_test::HalfWidth(m, curve_test::TotalCurrent(m), 1, m.NumberOfPoints, FindPeak(m).I);
}

// The run at the default grid, converged: the same run on a refined grid moves its peak, or
// its total current at point i when given, by less than the tolerance.
Peak ConvergedPeak(Model& model, int i = 0) {
  auto fine = std::make_unique<Model>(model);
  Simulate(*fine, 2);
  Simulate(model);
  if (i > 0) {
    EXPECT_NEAR(Total(model, i) / Total(*fine, i), 1.0, kCurrentTolerance) << "not converged";
    return {model.PotentialX(i), Total(model, i)};
  }
  const Peak p = FindPeak(model);
  const Peak q = FindPeak(*fine);
  EXPECT_NEAR(p.I / q.I, 1.0, kCurrentTolerance) << "not converged in current";
  EXPECT_NEAR(p.E, q.E, kPotentialTolerance) << "not converged in potential";
  return p;
}

double RandlesSevcik(const Model& m) {
  return 0.446295 * kF * kC * std::sqrt(m.FOverRT * m.ScanRate * kD);
}

// At E0 the surface of the reversible sweep follows Nernst: half of each species (equal D).
// Randles-Sevcik's peak at steps of 2, 0.5 and 0.25 mV: the scenario digital_textbook; at 1 mV
// with its convergence on a grid and time steps twice as fine: the scenario digital_accuracy.
TEST(DigitalTextbook, ReversibleSweepHalvesTheSurfaceAtE0) {
  auto m = PlanarReduction();
  Simulate(*m);
  const int atE0 = static_cast<int>(std::lround(0.3 / m->PotentialStep)) + 1;
  EXPECT_NEAR(m->SurfaceConcentrations(atE0, 1) / 1e-3, 0.5, 0.002);
  EXPECT_NEAR(m->SurfaceConcentrations(atE0, 2) / 1e-3, 0.5, 0.002);
}

// Microsphere: 4 pi n F D C r (1 + r / sqrt(pi D t)) per its area; macro cylinder between the
// plane and the plane plus n F A D C / (2 r).
TEST(DigitalTextbook, CurvedElectrodesAtTheLimitingCurrent) {
  for (double r : {1e-4, 1e-3}) {
    auto m = LimitingDrops(2, r, 2.0);
    m->ElectrodeArea = 4.0 * kPi * r * r;
    const double exact = 4.0 * kPi * kF * kD * kC * r * (1.0 + r / std::sqrt(kPi * kD * 2.0));
    EXPECT_NEAR(ConvergedPeak(*m, 1).I / exact, 1.0, kCurrentTolerance) << r;
  }
  auto cylinder = LimitingDrops(5, 0.1, 1.0);
  const double current = ConvergedPeak(*cylinder, 1).I;
  const double plane = kF * kC * std::sqrt(kD / (kPi * 1.0));
  EXPECT_GT(current, plane);
  EXPECT_LT(current, plane + kF * kD * kC / (2.0 * 0.1));
}

// The accepted mass-transfer coefficient of a rotating electrode, cm/s (w rad/s, r cm, nu 0.01
// cm2/s): Levich's disk, Chin's mean over a hemisphere, the turbulent cylinder of Eisenberg,
// Tobias and Wilke at the peripheral velocity w r and the diameter 2 r.
double RotatingMassTransfer(int electrode, double w, double r) {
  const double laminar = std::sqrt(w) * std::pow(kD, 2.0 / 3.0) * std::pow(0.01, -1.0 / 6.0);
  if (electrode == 8) return 0.62045 * laminar;
  if (electrode == 7) return 0.474 * laminar;
  return 0.0791 * std::pow(w * r, 0.7) * std::pow(2.0 * r, -0.3) * std::pow(0.01, -0.344) *
         std::pow(kD, 0.644);
}

// The plateaus n F A k_m C of the rotating disk, hemisphere and cylinder at every rotation rate,
// whatever the radius, sampled once the layer D / k_m has formed (after 3 D / k_m^2).
TEST(DigitalTextbook, RotatingElectrodePlateausFollowTheirMassTransfer) {
  for (int electrode : {8, 7, 6}) {
    for (double rpm : {100.0, 400.0, 1000.0, 2500.0, 10000.0}) {
      for (double radius : {0.05, 0.5}) {
        const double w = rpm * kPi / 30.0;
        const double km = RotatingMassTransfer(electrode, w, radius);
        auto m = LimitingDrops(electrode, radius, std::max(5.0, 3.0 * kD / (km * km)));
        m->RotationRate = w;
        const double plateau = kF * kC * km;
        EXPECT_NEAR(ConvergedPeak(*m, 1).I / plateau, 1.0, kCurrentTolerance)
            << "electrode " << electrode << ", " << rpm << " rpm, r " << radius;
      }
    }
  }
}

// Differential pulse from a fresh drop of 1 s: (m - 1) pulse times at E, then tp at E + dE. By
// superposition of Cottrell responses with P(E) = 1 / (1 + theta(E)) the exact difference is
// n F A C sqrt(D / pi) (P1 / sqrt(td) + (P2 - P1) / sqrt(tp) - P1 / sqrt(td - tp)); its peak is
// 72.67 and 346.33 uA at dE = -10 and -50 mV.
TEST(DigitalTextbook, DifferentialPulseFollowsSuperposition) {
  for (const auto& [pulse, peak] : {std::pair{-0.01, 72.67e-6}, std::pair{-0.05, 346.33e-6}}) {
    auto m = PlanarReduction();
    m->Technique = Technique::kDifferentialPulse;
    m->ChargeKs(1) = 1e4;
    m->DropTime = 1.0;
    m->PulseTime = 0.05;
    m->PulsePotential = pulse;
    m->StartPotential = 0.2;
    m->EndPotential = -0.2;
    m->PotentialStep = 0.002;
    const Peak p = ConvergedPeak(*m);
    const double f = m->FOverRT;
    const auto exact = [&](double E) {
      const double P1 = 1.0 / (1.0 + std::exp(f * E));
      const double P2 = 1.0 / (1.0 + std::exp(f * (E + pulse)));
      return kF * kC * std::sqrt(kD / kPi) *
             (P1 / std::sqrt(1.0) + (P2 - P1) / std::sqrt(0.05) - P1 / std::sqrt(0.95));
    };
    for (int i = 1; i <= m->NumberOfPoints; ++i)
      EXPECT_NEAR(Total(*m, i), exact(m->PotentialX(i)), kCurrentTolerance * peak) << i;
    // Beyond the wave only the decay of the drop's Cottrell current over the pulse is left,
    // -4.47 uA, which measures the drop's length.
    const double tail = exact(m->PotentialX(m->NumberOfPoints));
    EXPECT_NEAR(Total(*m, m->NumberOfPoints) / tail, 1.0, 0.01);
    // The exact curve's peak and half width on a 0.01 mV grid.
    double largest = 0.0;
    double above = 0.0;  // V spent above half the exact peak
    for (double E = 0.2; E > -0.2; E -= 1e-5)
      largest = std::max(largest, exact(E));
    for (double E = 0.2; E > -0.2; E -= 1e-5)
      above += exact(E) > 0.5 * largest ? 1e-5 : 0.0;
    EXPECT_NEAR(p.I / peak, 1.0, kCurrentTolerance);
    EXPECT_NEAR(HalfWidth(*m), above, kPotentialTolerance) << pulse;
  }
}

// Osteryoung square wave, reversible: the dimensionless net peak dPsi = di sqrt(pi tp) /
// (n F A C sqrt(D)) and the half width, for nEsw / dEs = 25 / 10 and 50 / 10 mV.
TEST(DigitalTextbook, SquareWaveNetPeakAndHalfWidth) {
  struct Case {
    double amplitude, peak, width;
  };
  for (const Case& c : {Case{0.025, 0.5798, 0.1010}, Case{0.05, 0.9281, 0.1258}}) {
    auto m = PlanarReduction();
    m->Technique = Technique::kSquareWave;
    m->ChargeKs(1) = 1e4;
    m->PulseTime = 0.01;
    m->PulsePotential = -2.0 * c.amplitude;
    m->PotentialStep = 0.01;
    m->StartPotential = 0.4;
    m->EndPotential = -0.4;
    const Peak p = ConvergedPeak(*m);
    const double scale = kF * kC * std::sqrt(kD) / std::sqrt(kPi * 0.01);
    EXPECT_NEAR(p.I / scale / c.peak, 1.0, kCurrentTolerance) << c.amplitude;
    EXPECT_NEAR(p.E, 0.0, 2.0 * kPotentialTolerance);  // a parabola through points 10 mV apart
    EXPECT_NEAR(HalfWidth(*m), c.width, kPotentialTolerance) << c.amplitude;
  }
}

// EC': the catalytic plateau n F A C sqrt(D k') once k' t is large; at k' = 1/s after 2 s,
// F A C sqrt(D k') (erf(sqrt(k' t)) + exp(-k' t) / sqrt(pi k' t)).
TEST(DigitalTextbook, CatalyticPlateau) {
  for (double k : {1.0, 10.0, 100.0}) {
    auto m = LimitingDrops(1, 0.0, 2.0);
    m->Mechanism = 8;
    AddFirstOrderReaction(*m, 2, 1, k);
    const double kt = 2.0 * k;
    const double exact = kF * kC * std::sqrt(kD * k) *
                         (std::erf(std::sqrt(kt)) + std::exp(-kt) / std::sqrt(kPi * kt));
    EXPECT_NEAR(ConvergedPeak(*m, 1).I / exact, 1.0, kCurrentTolerance) << k;
  }
}

// Number of sign changes of the second difference of the total current beyond rounding.
int CurvatureReversals(const Model& m, double peak) {
  int reversals = 0;
  const double noise = 1e-6 * peak;
  for (int i = 3; i < m.NumberOfPoints; ++i) {
    const double d1 = Total(m, i) - 2.0 * Total(m, i - 1) + Total(m, i - 2);
    const double d2 = Total(m, i + 1) - 2.0 * Total(m, i) + Total(m, i - 1);
    if (std::abs(d1) > noise && std::abs(d2) > noise && (d1 < 0.0) != (d2 < 0.0)) ++reversals;
  }
  return reversals;
}

// Ohmic drop solved inside each step: a smooth curve at every resistance (the foot, the peak
// and the tail: two inflections), converged, and its peak that of the convolution integral
// equation solved with the same drop implicit, an independent method.
TEST(DigitalTextbook, OhmicDropAgreesWithTheConvolutionSolution) {
  for (double Ru : {10.0, 50.0, 100.0, 1000.0}) {
    auto m = PlanarReduction();
    m->ChargeKs(1) = 1e4;
    m->UncompensatedResistance = Ru;
    m->EndPotential = -0.6;
    auto reference = std::make_unique<Model>(*m);
    const Peak p = ConvergedPeak(*m);
    EXPECT_LE(CurvatureReversals(*m, p.I), 2) << Ru << " ohm";
    reference->DigitalSimulation = false;
    BuildAxis(*reference);
    RunConvolution(*reference, 0.0);
    const Peak q = FindPeak(*reference);
    EXPECT_NEAR(p.I / q.I, 1.0, kCurrentTolerance) << Ru << " ohm";
    EXPECT_NEAR(p.E, q.E, kPotentialTolerance) << Ru << " ohm";
    EXPECT_LT(p.I, RandlesSevcik(*m)) << Ru;
  }
}

// At a microsphere near steady state, after drops of 1 s: one, two and three electrons per A at
// the plateaus of A + e = B, B + e = C and C + e = D, waves 0.3 V apart (mechanism 3).
TEST(DigitalTextbook, MultiStepReductionsAddTheirPlateaus) {
  auto one = LimitingDrops(2, 1e-4, 1.0);
  one->ElectrodeArea = 4.0 * kPi * 1e-8;
  one->StartPotential = 0.3;
  one->EndPotential = -1.0;
  one->PotentialStep = 0.01;
  auto m = std::make_unique<Model>(*one);
  Simulate(*one);
  const double single = Total(*one, one->NumberOfPoints);
  m->Mechanism = 3;
  m->SpeciesCount = 4;
  for (int r = 2; r <= 3; ++r) {
    AddChargeReaction(*m, r, r + 1, -0.3 * (r - 1));
    m->ChargeKs(r) = 10.0;
    m->SpeciesD(r + 1) = kD;
  }
  Simulate(*m);
  const int afterFirst = 46;   // -0.15 V
  const int afterSecond = 76;  // -0.45 V
  ASSERT_NEAR(m->PotentialX(afterFirst), -0.15, 1e-9);
  EXPECT_NEAR(Total(*m, afterFirst) / single, 1.0, 0.01);
  EXPECT_NEAR(Total(*m, afterSecond) / single, 2.0, 0.02);
  EXPECT_NEAR(Total(*m, m->NumberOfPoints) / single, 3.0, 0.03);
  EXPECT_NEAR(m->SurfaceConcentrations(m->NumberOfPoints, 4), 1e-3, 2e-5);
}

// A + B -> C in solution with equal concentrations and no electrode reaction:
// C_A = C0 / (1 + k C0 t), and A + C stays C0; the iteration takes a few steps.
TEST(DigitalTextbook, SecondOrderReactionFollowsItsRateLaw) {
  auto m = PlanarReduction();
  m->SpeciesCount = 3;
  m->ChargeReactionCount = 0;
  m->SpeciesC(2) = 1e-3;
  m->SpeciesD(3) = kD;
  AddSecondOrderReaction(*m, 1, 2, 3, 0, 1000.0);  // 1/(M s): k C0 = 1/s
  Simulate(*m);
  for (int i : {50, 100, 300, 600}) {
    const double t = i * 0.01;  // s
    EXPECT_NEAR(m->SurfaceConcentrations(i, 1) / (1e-3 / (1.0 + t)), 1.0, 0.005) << i;
    EXPECT_NEAR(m->SurfaceConcentrations(i, 1) + m->SurfaceConcentrations(i, 3), 1e-3, 1e-9);
  }
}

// One proton in the reduction moves the wave by RT/F ln 10 per pH unit, toward negative.
TEST(DigitalTextbook, ProtonsShiftTheWaveBy59MillivoltsPerPH) {
  auto neutral = PlanarReduction();
  neutral->ProtonCount(1) = 1.0;
  auto basic = std::make_unique<Model>(*neutral);
  Simulate(*neutral, 1, "7");
  Simulate(*basic, 1, "8");
  EXPECT_NEAR(FindPeak(*basic).E - FindPeak(*neutral).E, -std::log(10.0) / neutral->FOverRT,
              kPotentialTolerance);
}

}  // namespace
}  // namespace qalto
