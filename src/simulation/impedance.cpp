#include "simulation/impedance.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/constants.h"
#include "simulation/implicit_drop.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {
namespace {

using Complex = std::complex<double>;
using Matrix = std::vector<std::vector<Complex>>;

// Solves a x = b in place by Gaussian elimination with partial pivoting (a few reactions).
std::vector<Complex> Solve(Matrix a, std::vector<Complex> b) {
  const size_t n = b.size();
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t row = col + 1; row < n; ++row)
      if (std::abs(a[row][col]) > std::abs(a[pivot][col])) pivot = row;
    std::swap(a[col], a[pivot]);
    std::swap(b[col], b[pivot]);
    if (a[col][col] == Complex(0.0)) continue;  // a reaction that cannot move: it stays 0
    for (size_t row = col + 1; row < n; ++row) {
      const Complex factor = a[row][col] / a[col][col];
      for (size_t k = col; k < n; ++k)
        a[row][k] -= factor * a[col][k];
      b[row] -= factor * b[col];
    }
  }
  std::vector<Complex> x(n);
  for (size_t row = n; row-- > 0;) {
    Complex sum = b[row];
    for (size_t k = row + 1; k < n; ++k)
      sum -= a[row][k] * x[k];
    x[row] = a[row][row] == Complex(0.0) ? Complex(0.0) : sum / a[row][row];
  }
  return x;
}

// The rate constants (cm/s) of reaction r at the cell's DC potential, and its transfer
// coefficient there, -d ln kf / d(nf E): alpha itself, or the slope of Marcus-Hush kinetics.
struct Rates {
  double kf = 0, kb = 0, nf = 0;  // nf = nF/RT, 1/V
  double alpha = 0;
};

Rates RatesOf(const ImpedanceCell& cell, const ImpedanceReaction& r) {
  const double nf = r.n * kFaraday / (kGasConstant * cell.temperature);
  const double eta = cell.potential - r.formalPotential;
  if (r.reorganisation > 0) {
    const MarcusHushLog k = LogMarcusHushIntegral(r.reorganisation, nf * eta);
    const double kf = r.ks * std::exp(k.value - LogMarcusHushIntegral(r.reorganisation, 0).value);
    return {kf, kf * std::exp(nf * eta), nf, -k.slope};
  }
  return {r.ks * std::exp(-r.alpha * nf * eta), r.ks * std::exp((1 - r.alpha) * nf * eta), nf,
          r.alpha};
}

// The reaction system: with the surface concentrations c_s = c*_s + sum_t G_st p_t, p_t =
// sum_q m_tq x_q the production of species t (m = -1 for the oxidized species of q, +1 for the
// reduced), every reaction r states relax x_r = kf c_ox - kb c_red, each row scaled by
// 1 / (1 + |kf G_ox,ox| + |kb G_red,red|). relax = 1 and x the flux (mol/cm2 s) for a steady or
// alternating flux; relax = 0 for the Nernstian limit, where x is the flux times the time it
// has run.
void BuildSystem(const ImpedanceCell& cell, const ComplexMatrix& g, double relax, Matrix& a,
                 std::vector<Complex>& diagonalScale) {
  const size_t n = cell.reactions.size();
  a.assign(n, std::vector<Complex>(n, Complex(0.0)));
  diagonalScale.assign(n, Complex(1.0));
  for (size_t r = 0; r < n; ++r) {
    const ImpedanceReaction& reaction = cell.reactions[r];
    const Rates k = RatesOf(cell, reaction);
    const auto ox = static_cast<size_t>(reaction.oxidized);
    const auto red = static_cast<size_t>(reaction.reduced);
    a[r][r] += relax;
    for (size_t q = 0; q < n; ++q) {
      const auto qRed = static_cast<size_t>(cell.reactions[q].reduced);
      const auto qOx = static_cast<size_t>(cell.reactions[q].oxidized);
      a[r][q] += -k.kf * (g[ox][qRed] - g[ox][qOx]) + k.kb * (g[red][qRed] - g[red][qOx]);
    }
    diagonalScale[r] = 1.0 / (1.0 + std::abs(k.kf * g[ox][ox]) + std::abs(k.kb * g[red][red]));
    for (Complex& value : a[r])
      value *= diagonalScale[r];
  }
}

// The diagonal matrix of the numbers g.
ComplexMatrix Diagonal(const std::vector<Complex>& g) {
  ComplexMatrix m(g.size(), std::vector<Complex>(g.size(), Complex(0.0)));
  for (size_t s = 0; s < g.size(); ++s)
    m[s][s] = g[s];
  return m;
}

}  // namespace

ImpedanceCell CoupleCell(double cO, double cR, double dO, double dR) {
  ImpedanceCell cell;
  cell.species = {{dO, cO}, {dR, cR}};
  cell.reactions = {ImpedanceReaction{}};
  return cell;
}

namespace {

// The DC state at the cell's potential taken as the interface's: the surface concentrations
// (mol/L) and the steady faradaic current (A, cathodic positive; 0 where it dies away).
struct DcState {
  std::vector<double> surface;
  double current = 0;
};

DcState SolveDcState(const ImpedanceCell& cell) {
  // g: how far the surface moves per unit of x (the steady flux, or the Nernstian limit's
  // flux x time): L/D at a sphere or through a Nernst layer, 1/sqrt(D) at a plane (the
  // integral of sqrt(D/t) fluxes), 1 in a closed layer (its amount is conserved). With
  // chemistry, W of the long hold, and x the flux.
  const bool nernstian = cell.chemistry.empty() && (cell.field == DiffusionField::kPlanar ||
                                                    cell.field == DiffusionField::kThinLayer);
  ComplexMatrix g;
  if (cell.chemistry.empty()) {
    std::vector<Complex> diagonal;
    for (const ImpedanceSpecies& s : cell.species) {
      if (cell.field == DiffusionField::kPlanar) {
        diagonal.emplace_back(1.0 / std::sqrt(s.d));
      } else if (cell.field == DiffusionField::kThinLayer) {
        diagonal.emplace_back(1.0);
      } else {
        diagonal.emplace_back(cell.length / s.d);
      }
    }
    g = Diagonal(diagonal);
  } else {
    g = DiffusionMatrix(cell.species, cell.chemistry, {cell.field, cell.length},
                        Complex(1.0 / kDcHoldTime));
  }
  Matrix a;
  std::vector<Complex> scale;
  BuildSystem(cell, g, nernstian ? 0.0 : 1.0, a, scale);
  std::vector<Complex> b(cell.reactions.size());
  for (size_t r = 0; r < b.size(); ++r) {
    const ImpedanceReaction& reaction = cell.reactions[r];
    const Rates k = RatesOf(cell, reaction);
    b[r] = scale[r] * 1e-3 *
           (k.kf * cell.species[static_cast<size_t>(reaction.oxidized)].bulk -
            k.kb * cell.species[static_cast<size_t>(reaction.reduced)].bulk);
  }
  const std::vector<Complex> x = Solve(a, b);
  std::vector<double> surface;
  for (size_t s = 0; s < cell.species.size(); ++s) {
    double c = cell.species[s].bulk * 1e-3;
    for (size_t q = 0; q < x.size(); ++q) {
      const auto red = static_cast<size_t>(cell.reactions[q].reduced);
      const auto ox = static_cast<size_t>(cell.reactions[q].oxidized);
      c += (g[s][red] - g[s][ox]).real() * x[q].real();
    }
    surface.push_back(std::max(0.0, c) * 1e3);  // a rounding below zero is none
  }
  double current = 0;
  if (!nernstian) {
    for (size_t q = 0; q < x.size(); ++q)
      current += cell.reactions[q].n * kFaraday * cell.area * x[q].real();
  }
  return {surface, current};
}

// The cell with its potential at the interface: E dc moved by Ru times the steady current.
ImpedanceCell AtInterface(const ImpedanceCell& cell) {
  ImpedanceCell moved = cell;
  if (!(cell.ru > 0)) return moved;
  const double drop = ImplicitDrop(
      [&](double d) {
        moved.potential = cell.potential + d;
        return SolveDcState(moved).current;
      },
      cell.ru, 0.0);
  moved.potential = cell.potential + drop;
  return moved;
}

}  // namespace

std::vector<double> DcSurfaceState(const ImpedanceCell& cell) {
  return SolveDcState(AtInterface(cell)).surface;
}

std::vector<std::complex<double>> CellImpedance(const ImpedanceCell& dc,
                                                const std::vector<double>& frequencies) {
  const ImpedanceCell cell = AtInterface(dc);
  const std::vector<double> surface = SolveDcState(cell).surface;
  const size_t n = cell.reactions.size();
  // Linearised, per volt: dJ_r - kf dc_ox + kb dc_red = -nf (alpha kf c_ox + (1 - alpha) kb
  // c_red), dc_s = W_s sum_q m_sq dJ_q; the current i = -sum_r n_r F A dJ_r per volt anodic.
  std::vector<Complex> drive(n);
  for (size_t r = 0; r < n; ++r) {
    const ImpedanceReaction& reaction = cell.reactions[r];
    const Rates k = RatesOf(cell, reaction);
    const double cO = surface[static_cast<size_t>(reaction.oxidized)] * 1e-3;  // mol/cm3
    const double cR = surface[static_cast<size_t>(reaction.reduced)] * 1e-3;
    drive[r] = -k.nf * (k.alpha * k.kf * cO + (1 - k.alpha) * k.kb * cR);
  }
  std::vector<Complex> spectrum;
  spectrum.reserve(frequencies.size());
  std::vector<Complex> scale;
  Matrix a;
  for (double frequency : frequencies) {
    const double omega = kTwoPi * frequency;
    BuildSystem(cell,
                DiffusionMatrix(cell.species, cell.chemistry, {cell.field, cell.length},
                                Complex(0.0, omega)),
                1.0, a, scale);
    std::vector<Complex> b(n);
    for (size_t r = 0; r < n; ++r)
      b[r] = scale[r] * drive[r];
    const std::vector<Complex> dJ = Solve(a, b);
    Complex faradaic(0.0);
    for (size_t r = 0; r < n; ++r)
      faradaic -= cell.reactions[r].n * kFaraday * cell.area * dJ[r];
    const Complex admittance = Complex(0.0, omega * cell.cd) + faradaic;
    spectrum.push_back(admittance == Complex(0.0)
                           ? Complex(cell.ru, -std::numeric_limits<double>::infinity())
                           : cell.ru + 1.0 / admittance);
  }
  return spectrum;
}

std::complex<double> CellImpedance(const ImpedanceCell& cell, double frequency) {
  return CellImpedance(cell, std::vector<double>{frequency}).front();
}

std::vector<double> FrequencyGrid(double from, double to, int perDecade) {
  const double decades = std::log10(to) - std::log10(from);
  // One frequency where the range has none between its ends.
  const int steps =
      decades == 0
          ? 0
          : std::max(1, static_cast<int>(std::ceil(std::fabs(decades) * perDecade - 1e-9)));
  std::vector<double> grid;
  grid.reserve(static_cast<size_t>(steps) + 1);
  for (int k = 0; k <= steps; ++k)
    grid.push_back(from * std::pow(10.0, decades * k / steps));
  grid.back() = to;
  return grid;
}

}  // namespace qalto
