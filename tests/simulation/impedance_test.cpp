// The impedance of a cell in the frequency domain against the circuits of the textbooks: the
// Randles circuit with its Warburg element, the charge-transfer resistance RT/(nF i0), the
// resistive low-frequency limits of finite diffusion, and reactions that add their admittances
// or leave each other alone.
#include "simulation/impedance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/constants.h"

namespace qalto {
namespace {

using Complex = std::complex<double>;

double ThermalVolts(const ImpedanceCell& cell) {  // RT/nF
  return kGasConstant * cell.temperature / (cell.reactions[0].n * kFaraday);
}

// sigma = RT / (n^2 F^2 A sqrt 2) (1 / (cO sqrt DO) + 1 / (cR sqrt DR)), c in mol/cm3.
double Sigma(const ImpedanceCell& cell, double cO, double cR) {
  const double nF = cell.reactions[0].n * kFaraday;
  const double dO = cell.species[0].d, dR = cell.species[1].d;
  return ThermalVolts(cell) / (nF * cell.area * std::sqrt(2.0)) *
         (1 / (cO * 1e-3 * std::sqrt(dO)) + 1 / (cR * 1e-3 * std::sqrt(dR)));
}

// The largest distance between the two spectra relative to the expected |Z|.
double WorstError(const std::vector<Complex>& expected, const std::vector<Complex>& found) {
  double worst = 0;
  for (size_t k = 0; k < expected.size(); ++k)
    worst = std::max(worst, std::abs(found[k] - expected[k]) / std::abs(expected[k]));
  return worst;
}

// Ru + 1 / (j w Cd + 1 / (Rct + sigma w^-1/2 (1 - j))) at each frequency.
std::vector<Complex> RandlesSpectrum(double ru, double cd, double rct, double sigma,
                                     const std::vector<double>& frequencies) {
  std::vector<Complex> z;
  for (double f : frequencies) {
    const double omega = kTwoPi * f;
    const Complex warburg = sigma / std::sqrt(omega) * Complex(1, -1);
    z.push_back(ru + 1.0 / (Complex(0, omega * cd) + 1.0 / (rct + warburg)));
  }
  return z;
}

// A reversible couple held at E1/2 with only O in the bulk: Nernst and the flux balance put
// cO(0) = C/2 and cR(0) = C sqrt(DO/DR)/2, so sigma = 2 sqrt2 RT / (n^2 F^2 A C sqrt DO).
TEST(Impedance, ReversibleCoupleAtHalfWaveIsRandlesWithWarburg) {
  for (double n : {1.0, 2.0}) {
    ImpedanceCell cell = CoupleCell(1.0, 0.0, 1e-5, 0.7e-5);
    cell.reactions[0].n = n;
    cell.reactions[0].ks = 1e6;
    cell.area = 0.2;
    cell.ru = 50;
    cell.cd = 20e-6;
    cell.potential = ThermalVolts(cell) * std::log(std::sqrt(0.7));  // E1/2 with E0' = 0
    const std::vector<double> surface = DcSurfaceState(cell);
    EXPECT_NEAR(surface[0], 0.5, 1e-12);
    EXPECT_NEAR(surface[1], 0.5 * std::sqrt(1 / 0.7), 1e-12);
    const double nF = n * kFaraday;
    const double sigma = 2 * std::sqrt(2.0) * ThermalVolts(cell) /
                         (nF * cell.area * 1e-3 * std::sqrt(cell.species[0].d));
    const std::vector<double> grid = FrequencyGrid(1e5, 1e-3, 10);
    EXPECT_LT(WorstError(RandlesSpectrum(50, 20e-6, 0, sigma, grid), CellImpedance(cell, grid)),
              1e-3)
        << "n = " << n;
  }
}

// At the equilibrium potential of a solution of both O and R, kinetics add the charge-transfer
// resistance RT / (nF i0), i0 = nFA ks cO^(1 - alpha) cR^alpha, in series with the Warburg
// element of the bulk concentrations; exact, so to rounding.
TEST(Impedance, QuasiReversibleCoupleAddsTheChargeTransferResistance) {
  ImpedanceCell cell = CoupleCell(2.0, 0.5);
  cell.reactions[0].ks = 1e-3;
  cell.reactions[0].alpha = 0.3;
  cell.ru = 20;
  cell.cd = 10e-6;
  cell.potential = ThermalVolts(cell) * std::log(2.0 / 0.5);  // equilibrium
  const double i0 = kFaraday * cell.area * 1e-3 * std::pow(2e-3, 0.7) * std::pow(0.5e-3, 0.3);
  const double rct = ThermalVolts(cell) / i0;
  const std::vector<double> grid = FrequencyGrid(1e-3, 1e5, 10);
  const auto z = CellImpedance(cell, grid);
  EXPECT_LT(WorstError(RandlesSpectrum(20, 10e-6, rct, Sigma(cell, 2.0, 0.5), grid), z), 1e-9);
  // the semicircle's diameter: Z' from Ru at high frequency toward Ru + Rct
  EXPECT_NEAR(CellImpedance(cell, 1e8).real(), cell.ru, 1e-3 * rct);
}

// Away from E1/2, only O (1 M) in the bulk, DR = 2 DO, alpha 0.3: the DC surface is Nernst's with
// cO sqrt DO + cR sqrt DR = C sqrt DO, and the faradaic impedance is the general one,
// Rct (1 + kf / sqrt(j w DO) + kb / sqrt(j w DR)), Rct = RT / (nF i0), i0 = nFA kf cO.
TEST(Impedance, QuasiReversibleCoupleAwayFromHalfWaveWithUnequalDiffusion) {
  ImpedanceCell cell = CoupleCell(1.0, 0.0, 1e-5, 2e-5);
  cell.reactions[0].ks = 1e-3;
  cell.reactions[0].alpha = 0.3;
  cell.ru = 20;
  cell.cd = 20e-6;
  cell.potential = -0.05;  // E0' = 0
  const double f = 1 / ThermalVolts(cell), theta = std::exp(f * cell.potential);
  const double cR =
      1e-3 * std::sqrt(1e-5) / (theta * std::sqrt(1e-5) + std::sqrt(2e-5));  // mol/cm3
  const double kf = 1e-3 * std::exp(-0.3 * f * cell.potential), kb = kf * theta;
  const double rct = ThermalVolts(cell) / (kFaraday * kf * theta * cR);
  const std::vector<double> grid = FrequencyGrid(1e5, 1e-3, 10);
  std::vector<Complex> expected;
  for (double frequency : grid) {
    const Complex jw(0, kTwoPi * frequency);
    const Complex zf = rct * (1.0 + kf / std::sqrt(jw * 1e-5) + kb / std::sqrt(jw * 2e-5));
    expected.push_back(cell.ru + 1.0 / (jw * cell.cd + 1.0 / zf));
  }
  EXPECT_LT(WorstError(expected, CellImpedance(cell, grid)), 1e-9);
}

// A layer open to the bulk ends in a resistance: Rct + the layer's diffusion resistance. A closed
// layer of 10 um turns capacitive with the layer's capacitance n^2 F^2 A L / (RT (1/cO + 1/cR)):
// the scenario impedance_randles.
TEST(Impedance, NernstLayerTurnsResistiveAtLowFrequency) {
  ImpedanceCell cell = CoupleCell(1.0, 1.0);
  cell.length = 10e-4;  // 10 um
  cell.field = DiffusionField::kNernstLayer;
  const Complex open = CellImpedance(cell, 1e-6);
  EXPECT_LT(std::abs(open.imag()), 1e-3 * open.real());
}

// A small sphere's spectrum ending in a resistance (its steady state): impedance_run_test.
TEST(Impedance, SphereOfLargeRadiusIsPlanar) {
  ImpedanceCell planar = CoupleCell(1.0, 1.0);
  ImpedanceCell sphere = planar;
  sphere.field = DiffusionField::kSphere;
  sphere.length = 1e3;
  const std::vector<double> grid{1.0, 100.0};
  EXPECT_LT(WorstError(CellImpedance(planar, grid), CellImpedance(sphere, grid)), 1e-4);
}

// The steady state at a sphere: J = (kf cO - kb cR) / (1 + kf/mO + kb/mR), m = D / r.
TEST(Impedance, SteadyStateAtASphereBalancesKineticsAndMassTransfer) {
  ImpedanceCell cell = CoupleCell(1.0, 0.2, 1e-5, 2e-5);
  cell.field = DiffusionField::kSphere;
  cell.length = 1e-3;
  cell.reactions[0].ks = 2e-3;
  cell.potential = -0.05;
  const double f = 1 / ThermalVolts(cell);
  const double kf = 2e-3 * std::exp(-0.5 * f * -0.05), kb = 2e-3 * std::exp(0.5 * f * -0.05);
  const double mO = 1e-5 / 1e-3, mR = 2e-5 / 1e-3;
  const double flux = (kf * 1e-3 - kb * 0.2e-3) / (1 + kf / mO + kb / mR);
  const std::vector<double> surface = DcSurfaceState(cell);
  EXPECT_NEAR(surface[0], 1.0 - 1e3 * flux / mO, 1e-12);
  EXPECT_NEAR(surface[1], 0.2 + 1e3 * flux / mR, 1e-12);
}

// Two couples of different species at one potential: their faradaic admittances add. A
// second step far beyond the DC potential (B + e = C at -1.5 V) leaves the first couple alone.
TEST(Impedance, ReactionsAddTheirAdmittancesOrLeaveEachOtherAlone) {
  ImpedanceCell first = CoupleCell(1.0, 0.5);
  first.reactions[0].ks = 0.01;
  ImpedanceCell second = CoupleCell(0.3, 0.8, 0.6e-5, 0.9e-5);
  second.reactions[0].ks = 0.002;
  second.reactions[0].n = 2;
  second.reactions[0].formalPotential = 0.01;
  ImpedanceCell both = first;
  both.species.push_back(second.species[0]);
  both.species.push_back(second.species[1]);
  ImpedanceReaction shifted = second.reactions[0];
  shifted.oxidized = 2;
  shifted.reduced = 3;
  both.reactions.push_back(shifted);
  const std::vector<double> grid = FrequencyGrid(1e-2, 1e4, 3);
  const auto z1 = CellImpedance(first, grid), z2 = CellImpedance(second, grid);
  std::vector<Complex> parallel;
  for (size_t k = 0; k < grid.size(); ++k)
    parallel.push_back(1.0 / (1.0 / z1[k] + 1.0 / z2[k]));
  EXPECT_LT(WorstError(parallel, CellImpedance(both, grid)), 1e-12);

  ImpedanceCell chain = CoupleCell(1.0, 0.5);
  chain.reactions[0].ks = 0.01;
  chain.species.push_back({1e-5, 0.0});
  ImpedanceReaction step{1, 2, 1, 0.01, 0.5, -1.5};
  chain.reactions.push_back(step);
  EXPECT_LT(WorstError(z1, CellImpedance(chain, grid)), 1e-9);
}

// Ru + 1 / (j w Cd + 1 / Zf), Zf = RT/(n^2 F^2 A) (1/k0 + W_O/cO + W_R/cR) at equilibrium
// (k0 = ks cO^(1-alpha) cR^alpha, c in mol/cm3, W = dc(0)/dp in s/cm).
Complex EquilibriumCell(const ImpedanceCell& cell, double cO, double cR, Complex wO, Complex wR,
                        double frequency) {
  const ImpedanceReaction& r = cell.reactions[0];
  const double k0 = r.ks * std::pow(cO * 1e-3, 1 - r.alpha) * std::pow(cR * 1e-3, r.alpha);
  const double nF = r.n * kFaraday;
  const Complex zf =
      ThermalVolts(cell) / (nF * cell.area) * (1 / k0 + wO / (cO * 1e-3) + wR / (cR * 1e-3));
  return cell.ru + 1.0 / (Complex(0, kTwoPi * frequency * cell.cd) + 1.0 / zf);
}

// A preceding reaction C = A (kf C -> A, kb A -> C, equal D of A and C) at equilibrium in the
// bulk and at the surface: A answers as the conserved A + C diffusing and the reaction's mode
// k = kf + kb, W_A = (kf / (jwD)^1/2 + kb / ((jw + k)D)^1/2) / k, the second term the Gerischer
// element; B is plain Warburg. Exact, from 1 mHz to 100 kHz across k = 110 /s.
TEST(Impedance, PrecedingReactionAddsTheGerischerElement) {
  const double kf = 10, kb = 100, d = 1e-5, dB = 0.7e-5;
  const double cC = 1.0, cA = cC * kf / kb, cB = 0.5;  // mM
  ImpedanceCell cell = CoupleCell(cA, cB, d, dB);
  cell.species.push_back({d, cC});
  cell.chemistry = {{2, 0, kf, kb}};
  cell.reactions[0].ks = 0.01;
  cell.reactions[0].alpha = 0.4;
  cell.ru = 10;
  cell.cd = 20e-6;
  cell.potential = ThermalVolts(cell) * std::log(cA / cB);  // equilibrium, E0' = 0
  const std::vector<double> surface = DcSurfaceState(cell);
  EXPECT_NEAR(surface[0], cA, 1e-9);
  EXPECT_NEAR(surface[2], cC, 1e-9);
  const std::vector<double> grid = FrequencyGrid(1e-3, 1e5, 4);
  std::vector<Complex> expected;
  for (double f : grid) {
    const Complex s(0, kTwoPi * f);
    const Complex wA = (kf / std::sqrt(s * d) + kb / std::sqrt((s + kf + kb) * d)) / (kf + kb);
    expected.push_back(EquilibriumCell(cell, cA, cB, wA, 1.0 / std::sqrt(s * dB), f));
  }
  EXPECT_LT(WorstError(expected, CellImpedance(cell, grid)), 1e-9);
}

// A catalytic cycle A + e = B, B -> A (k, equal D) held at E0: A + B is unchanged at the surface
// and B decays in the reaction layer, so the DC state is steady, cB(0) = x / (kD)^1/2 with
// x = kf cA* / (1 + (kf + kb) / (kD)^1/2). Its spectrum, the Gerischer element about this state
// ending in a resistance at low frequency: the scenario impedance_chemistry.
TEST(Impedance, CatalyticCycleHoldsASteadySurfaceState) {
  const double k = 50, d = 1e-5, ks = 0.005, cStar = 1e-3;  // 1/s, cm2/s, cm/s, mol/cm3
  ImpedanceCell cell = CoupleCell(1.0, 0.0, d, d);
  cell.chemistry = {{1, 0, k, 0}};
  cell.reactions[0].ks = ks;
  const double m = std::sqrt(k * d), x = ks * cStar / (1 + 2 * ks / m);  // kf = kb = ks at E0
  const std::vector<double> surface = DcSurfaceState(cell);
  EXPECT_NEAR(surface[1], 1e3 * x / m, 1e-6 * surface[1]);
  EXPECT_NEAR(surface[0], 1e3 * (cStar - x / m), 1e-6 * surface[0]);
}

// The frequencies: the ends exactly, in the order given, points evenly on a log scale, one
// frequency for a range without width (a spectrum at one frequency, not the same one twice).
TEST(Impedance, FrequencyGridIsLogarithmicWithBothEndsInTheOrderGiven) {
  const std::vector<double> decades = FrequencyGrid(1e5, 1e-3, 1);
  ASSERT_EQ(decades.size(), 9u);
  EXPECT_EQ(decades.front(), 1e5);
  EXPECT_NEAR(decades[4], 10, 1e-12);
  EXPECT_EQ(decades.back(), 1e-3);
  const std::vector<double> down = FrequencyGrid(1e5, 1e-2, 5);
  ASSERT_EQ(down.size(), 36u);
  EXPECT_EQ(down.front(), 1e5);
  EXPECT_EQ(down.back(), 1e-2);
  EXPECT_NEAR(down[5], 1e4, 1e-8);
  const std::vector<double> up = FrequencyGrid(1, 5, 10);  // 0.7 decades: 7 steps
  ASSERT_EQ(up.size(), 8u);
  EXPECT_NEAR(up[1] / up[0], std::pow(5.0, 1.0 / 7), 1e-12);
  EXPECT_EQ(FrequencyGrid(100, 100, 10), std::vector<double>{100});
}

}  // namespace
}  // namespace qalto
