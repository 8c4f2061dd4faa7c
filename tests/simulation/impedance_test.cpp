// The impedance of a cell in the frequency domain against the circuits of the textbooks: the
// Randles circuit with its Warburg element, the charge-transfer resistance RT/(nF i0), and the
// capacitive and resistive low-frequency limits of finite diffusion.
#include "simulation/impedance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/constants.h"

namespace qalto {
namespace {

using Complex = std::complex<double>;

// Ru + 1 / (j w Cd + 1 / (Rct + sigma w^-1/2 (1 - j))).
Complex Randles(double ru, double cd, double rct, double sigma, double frequency) {
  const double omega = 2 * kPi * frequency;
  const Complex warburg = sigma / std::sqrt(omega) * Complex(1, -1);
  return ru + 1.0 / (Complex(0, omega * cd) + 1.0 / (rct + warburg));
}

// sigma = RT / (n^2 F^2 A sqrt 2) (1 / (cO sqrt DO) + 1 / (cR sqrt DR)), c in mol/cm3.
double Sigma(const ImpedanceCell& cell, double cO, double cR) {
  const double nF = cell.n * kFaraday;
  return kGasConstant * cell.temperature / (nF * nF * cell.area * std::sqrt(2.0)) *
         (1 / (cO * 1e-3 * std::sqrt(cell.dO)) + 1 / (cR * 1e-3 * std::sqrt(cell.dR)));
}

void ExpectClose(Complex expected, Complex found, double tolerance, double frequency) {
  EXPECT_NEAR(found.real(), expected.real(), tolerance * std::abs(expected)) << frequency << " Hz";
  EXPECT_NEAR(found.imag(), expected.imag(), tolerance * std::abs(expected)) << frequency << " Hz";
}

TEST(Impedance, ReversibleCoupleAtHalfWaveIsRandlesWithWarburg) {
  ImpedanceCell cell;
  cell.ks = 1e6;  // reversible
  cell.dO = 1e-5;
  cell.dR = 0.7e-5;
  cell.cO = 1;
  cell.cR = 0;
  cell.ru = 50;
  cell.cd = 20e-6;
  const double f = cell.n * kFaraday / (kGasConstant * cell.temperature);
  cell.potential = cell.formalPotential + std::log(std::sqrt(cell.dR / cell.dO)) / f;  // E1/2
  const SurfaceState surface = DcSurfaceState(cell);
  EXPECT_NEAR(surface.cO * std::sqrt(cell.dO) + surface.cR * std::sqrt(cell.dR), std::sqrt(cell.dO),
              1e-12);
  const double sigma = Sigma(cell, surface.cO, surface.cR);
  for (double frequency : FrequencyGrid(1e-3, 1e5, 4))
    ExpectClose(Randles(cell.ru, cell.cd, 0, sigma, frequency), CellImpedance(cell, frequency),
                1e-3, frequency);
}

TEST(Impedance, QuasiReversibleCoupleAddsTheChargeTransferResistance) {
  ImpedanceCell cell;
  cell.ks = 1e-3;
  cell.alpha = 0.3;
  cell.cO = 2;
  cell.cR = 0.5;
  cell.ru = 20;
  cell.cd = 10e-6;
  const double f = cell.n * kFaraday / (kGasConstant * cell.temperature);
  cell.potential = cell.formalPotential + std::log(cell.cO / cell.cR) / f;  // equilibrium
  const double i0 = cell.n * kFaraday * cell.area * cell.ks * std::pow(cell.cO * 1e-3, 0.7) *
                    std::pow(cell.cR * 1e-3, 0.3);
  const double rct = kGasConstant * cell.temperature / (cell.n * kFaraday * i0);
  const double sigma = Sigma(cell, cell.cO, cell.cR);
  for (double frequency : FrequencyGrid(1e-3, 1e5, 3))
    ExpectClose(Randles(cell.ru, cell.cd, rct, sigma, frequency), CellImpedance(cell, frequency),
                1e-9, frequency);
  // the semicircle's diameter: Z' from Ru at high frequency to Ru + Rct before the Warburg line
  EXPECT_NEAR(CellImpedance(cell, 1e7).real(), cell.ru, 1e-3 * rct);
}

TEST(Impedance, ThinLayerTurnsCapacitiveAndNernstLayerResistiveAtLowFrequency) {
  ImpedanceCell cell;
  cell.cO = 1;
  cell.cR = 1;
  cell.length = 10e-4;  // 10 um
  cell.field = DiffusionField::kThinLayer;
  // a closed layer stores charge: -Z'' grows as 1/w, the phase tends to -90 degrees
  const Complex low = CellImpedance(cell, 1e-4), lower = CellImpedance(cell, 1e-5);
  EXPECT_NEAR(lower.imag() / low.imag(), 10.0, 0.01);
  EXPECT_LT(std::arg(lower), -0.999 * kPi / 2);
  // its capacitance is the layer's: n^2 F^2 A L / (RT (1/cO + 1/cR)) with c in mol/cm3
  const double nF = cell.n * kFaraday;
  const double capacity =
      nF * nF * cell.area * cell.length / (kGasConstant * cell.temperature * (1 / 1e-3 + 1 / 1e-3));
  EXPECT_NEAR(-1 / (2 * kPi * 1e-5 * lower.imag()), capacity, 1e-4 * capacity);
  // a layer open to the bulk ends in a resistance: Rct + the layer's diffusion resistance
  cell.field = DiffusionField::kNernstLayer;
  const Complex open = CellImpedance(cell, 1e-6);
  EXPECT_LT(std::abs(open.imag()), 1e-3 * open.real());
}

TEST(Impedance, SphereOfLargeRadiusIsPlanarAndSmallSphereIsResistive) {
  ImpedanceCell planar;
  planar.cO = 1;
  planar.cR = 1;
  ImpedanceCell sphere = planar;
  sphere.field = DiffusionField::kSphere;
  sphere.length = 1e3;
  for (double frequency : {1.0, 100.0}) {
    ExpectClose(CellImpedance(planar, frequency), CellImpedance(sphere, frequency), 1e-4,
                frequency);
  }
  sphere.length = 5e-4;  // 5 um: steady diffusion at low frequency
  const Complex low = CellImpedance(sphere, 1e-5);
  EXPECT_LT(std::abs(low.imag()), 1e-3 * low.real());
}

TEST(Impedance, FrequencyGridIsLogarithmicWithBothEnds) {
  const std::vector<double> grid = FrequencyGrid(1e5, 1e-2, 5);
  ASSERT_EQ(grid.size(), 36u);
  EXPECT_DOUBLE_EQ(grid.front(), 1e-2);
  EXPECT_NEAR(grid.back(), 1e5, 1e-6);
  EXPECT_NEAR(grid[5], 1e-1, 1e-15);
}

}  // namespace
}  // namespace qalto
