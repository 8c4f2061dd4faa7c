#include "simulation/impedance_diffusion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace qalto {
namespace {

using Complex = std::complex<double>;

// The surface's response of one mode of eigenvalue lambda (1/cm2) to its production, times D.
Complex ModeFactor(const DiffusionSpace& space, Complex lambda) {
  const Complex root = std::sqrt(lambda);  // 1/cm, the decaying branch
  switch (space.field) {
    case DiffusionField::kSphere:
      return 1.0 / (root + 1.0 / space.length);
    case DiffusionField::kThinLayer:  // no flux through the wall: coth
      return 1.0 / (root * std::tanh(root * space.length));
    case DiffusionField::kNernstLayer:  // bulk concentration at the layer's outer edge: tanh
      return std::abs(root * space.length) < 1e-8 ? Complex(space.length)
                                                  : std::tanh(root * space.length) / root;
    case DiffusionField::kPlanar:
      break;
  }
  return 1.0 / root;
}

// One species without chemistry: sqrt(sD) = s^1/2 D^1/2 and the layer's sqrt(s/D) L.
Complex SingleFactor(const DiffusionSpace& space, double d, Complex s) {
  const Complex root = std::sqrt(s * d);
  switch (space.field) {
    case DiffusionField::kSphere:
      return 1.0 / (root + d / space.length);
    case DiffusionField::kThinLayer:
      return 1.0 / (root * std::tanh(std::sqrt(s / d) * space.length));
    case DiffusionField::kNernstLayer:
      return std::tanh(std::sqrt(s / d) * space.length) / root;
    case DiffusionField::kPlanar:
      break;
  }
  return 1.0 / root;
}

// The partner of each of n species in the chemistry, -1 for none; empty when a species has
// two partners or a reaction names a species outside 0..n-1.
std::vector<int> Partners(int n, const std::vector<ImpedanceChemistry>& chemistry) {
  std::vector<int> partner(static_cast<size_t>(std::max(n, 0)), -1);
  for (const ImpedanceChemistry& c : chemistry) {
    if (c.reactant < 0 || c.reactant >= n || c.product < 0 || c.product >= n) return {};
    if (c.reactant == c.product) continue;  // changes nothing
    for (auto [s, other] : {std::pair{c.reactant, c.product}, {c.product, c.reactant}}) {
      int& p = partner[static_cast<size_t>(s)];
      if (p >= 0 && p != other) return {};
      p = other;
    }
  }
  return partner;
}

// f(M) of the pair's 2x2 M = [[a, b], [c, d]] with determinant det, by the divided difference of
// f over its eigenvalues: f(M) = f(l1) I + f[l1, l2] (M - l1 I). l1 is the root of larger
// magnitude and l2 = det / l1, so that a small eigenvalue (a slow diffusive mode beside a fast
// reaction) keeps its digits.
std::array<Complex, 4> PairFunction(const DiffusionSpace& space, Complex a, Complex b, Complex c,
                                    Complex d, Complex det) {
  const Complex half = 0.5 * (a + d);
  const Complex root = std::sqrt(0.25 * (a - d) * (a - d) + b * c);
  const Complex l1 = std::real(std::conj(half) * root) >= 0 ? half + root : half - root;
  const Complex l2 = det / l1;
  const Complex f1 = ModeFactor(space, l1);
  Complex slope;  // f[l1, l2]
  if (std::abs(l1 - l2) > 1e-6 * std::abs(l1)) {
    slope = (f1 - ModeFactor(space, l2)) / (l1 - l2);
  } else {  // a double root: f' at the mean, by a central difference
    const Complex mean = 0.5 * (l1 + l2), h = 1e-4 * mean;
    slope = (ModeFactor(space, mean + h) - ModeFactor(space, mean - h)) / (2.0 * h);
  }
  return {f1 + slope * (a - l1), slope * b, slope * c, f1 + slope * (d - l1)};
}

}  // namespace

bool ChemistryInPairs(int species, const std::vector<ImpedanceChemistry>& chemistry) {
  return chemistry.empty() || !Partners(species, chemistry).empty();
}

ComplexMatrix DiffusionMatrix(const std::vector<ImpedanceSpecies>& species,
                              const std::vector<ImpedanceChemistry>& chemistry,
                              const DiffusionSpace& space, Complex s) {
  const size_t n = species.size();
  ComplexMatrix w(n, std::vector<Complex>(n, Complex(0.0)));
  std::vector<int> partner = Partners(static_cast<int>(n), chemistry);
  partner.resize(n, -1);
  for (size_t x = 0; x < n; ++x) {
    const double dx = species[x].d;
    if (partner[x] < 0) {
      w[x][x] = SingleFactor(space, dx, s);
      continue;
    }
    const auto y = static_cast<size_t>(partner[x]);
    if (y < x) continue;    // the pair is done
    double kf = 0, kb = 0;  // 1/s: x -> y and y -> x
    for (const ImpedanceChemistry& c : chemistry) {
      if (static_cast<size_t>(c.reactant) == x && static_cast<size_t>(c.product) == y) {
        kf += c.kf;
        kb += c.kb;
      } else if (static_cast<size_t>(c.reactant) == y && static_cast<size_t>(c.product) == x) {
        kf += c.kb;
        kb += c.kf;
      }
    }
    const double dy = species[y].d;
    // M = D^-1 (s - K): dx/dt = -kf x + kb y, dy/dt = kf x - kb y; det M = s (s + kf + kb) / DxDy
    const std::array<Complex, 4> f = PairFunction(space, (s + kf) / dx, -kb / dx, -kf / dy,
                                                  (s + kb) / dy, s * (s + kf + kb) / (dx * dy));
    w[x][x] = f[0] / dx;
    w[x][y] = f[1] / dy;
    w[y][x] = f[2] / dx;
    w[y][y] = f[3] / dy;
  }
  return w;
}

}  // namespace qalto
