#include "simulation/impedance.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/constants.h"

namespace qalto {
namespace {

using Complex = std::complex<double>;

// The diffusion factor W = dC(0)/dJ (s/cm) of a species: how far its surface concentration
// moves for a sinusoidal flux into the electrode.
Complex DiffusionFactor(const ImpedanceCell& cell, double d, double omega) {
  const Complex s(0.0, omega);
  const Complex root = std::sqrt(s * d);  // sqrt(j omega D)
  switch (cell.field) {
    case DiffusionField::kSphere:
      return 1.0 / (root + d / cell.length);
    case DiffusionField::kThinLayer:  // no flux through the wall: coth
      return 1.0 / (root * std::tanh(std::sqrt(s / d) * cell.length));
    case DiffusionField::kNernstLayer:  // bulk concentration at the layer's outer edge: tanh
      return std::tanh(std::sqrt(s / d) * cell.length) / root;
    default:
      return 1.0 / root;
  }
}

double NernstRatio(const ImpedanceCell& cell) {  // cO / cR at the surface in equilibrium
  const double f = cell.n * kFaraday / (kGasConstant * cell.temperature);
  return std::exp(f * (cell.potential - cell.formalPotential));
}

}  // namespace

SurfaceState DcSurfaceState(const ImpedanceCell& cell) {
  const double ratio = NernstRatio(cell);
  if (cell.field == DiffusionField::kThinLayer) {
    const double total = cell.cO + cell.cR;
    return {total * ratio / (1 + ratio), total / (1 + ratio)};
  }
  if (cell.field == DiffusionField::kPlanar) {
    // cO sqrt(DO) + cR sqrt(DR) is conserved at the surface of semi-infinite diffusion
    const double conserved = cell.cO * std::sqrt(cell.dO) + cell.cR * std::sqrt(cell.dR);
    const double cR = conserved / (ratio * std::sqrt(cell.dO) + std::sqrt(cell.dR));
    return {ratio * cR, cR};
  }
  // Steady flux J = kf cO - kb cR = mO (cO* - cO) = mR (cR - cR*), with m = D / length
  // (sphere: its radius; Nernst layer: its thickness).
  const double f = cell.n * kFaraday / (kGasConstant * cell.temperature);
  const double eta = cell.potential - cell.formalPotential;
  const double kf = cell.ks * std::exp(-cell.alpha * f * eta);
  const double kb = cell.ks * std::exp((1 - cell.alpha) * f * eta);
  const double mO = cell.dO / cell.length, mR = cell.dR / cell.length;
  const double flux = (kf * cell.cO - kb * cell.cR) / (1 + kf / mO + kb / mR);
  return {cell.cO - flux / mO, cell.cR + flux / mR};
}

std::complex<double> CellImpedance(const ImpedanceCell& cell, double frequency) {
  const double omega = 2 * kPi * frequency;
  const double f = cell.n * kFaraday / (kGasConstant * cell.temperature);
  const double eta = cell.potential - cell.formalPotential;
  const double kf = cell.ks * std::exp(-cell.alpha * f * eta);
  const double kb = cell.ks * std::exp((1 - cell.alpha) * f * eta);
  const SurfaceState surface = DcSurfaceState(cell);
  const double cO = surface.cO * 1e-3, cR = surface.cR * 1e-3;  // mol/cm3
  // Linearised: dJ (1 + kf WO + kb WR) = -f (alpha kf cO + (1 - alpha) kb cR) dE, i = nFA J.
  const double nfa = cell.n * kFaraday * cell.area;
  const double conductance = nfa * f * (cell.alpha * kf * cO + (1 - cell.alpha) * kb * cR);
  const Complex transport =
      1.0 + kf * DiffusionFactor(cell, cell.dO, omega) + kb * DiffusionFactor(cell, cell.dR, omega);
  // No reactant at the surface: the faradaic branch carries no alternating current.
  const Complex faradaicAdmittance = conductance > 0 ? conductance / transport : Complex(0.0);
  const Complex admittance = Complex(0.0, omega * cell.cd) + faradaicAdmittance;
  if (admittance == Complex(0.0)) return {cell.ru, -std::numeric_limits<double>::infinity()};
  return cell.ru + 1.0 / admittance;
}

std::vector<double> FrequencyGrid(double from, double to, int perDecade) {
  const double low = std::min(from, to), high = std::max(from, to);
  const double decades = std::log10(high / low);
  const int steps = std::max(1, static_cast<int>(std::ceil(decades * perDecade - 1e-9)));
  std::vector<double> grid;
  for (int k = 0; k <= steps; ++k)
    grid.push_back(low * std::pow(10.0, decades * k / steps));
  return grid;
}

}  // namespace qalto
