#include "fit/parameter_uncertainty.h"

#include <cmath>

namespace qalto {
namespace {

constexpr double kUnfeltDiagonal = 1e-20;  // the engine's own limit for a parameter without effect
// Pivot of the unit-diagonal normal matrix below which a parameter is a combination of those
// already taken: a correlation beyond 1 - 5e-11, far past what central differences resolve.
constexpr double kCollinearPivot = 1e-10;

size_t At(int i) {
  return static_cast<size_t>(i);
}

using Matrix = std::vector<std::vector<double>>;

// J'J over the points, 1..NP.
Matrix NormalMatrix(const MarquardtFit& fit) {
  int np = fit.Parameters();
  Matrix a(At(np) + 1, std::vector<double>(At(np) + 1, 0.0));
  for (int j = 1; j <= np; ++j) {
    for (int k = j; k <= np; ++k) {
      double sum = 0;
      for (int i = 1; i <= fit.Points(); ++i)
        sum += fit.Derivative(i, j) * fit.Derivative(i, k);
      a[At(j)][At(k)] = a[At(k)][At(j)] = sum;
    }
  }
  return a;
}

// The determined parameters, in the order a pivoted elimination of the scaled matrix r takes
// them: always the largest remaining pivot, until the rest are combinations of those taken.
std::vector<int> DeterminedOrder(Matrix r, std::vector<int> candidates) {
  std::vector<int> order;
  while (!candidates.empty()) {
    size_t best = 0;
    for (size_t c = 1; c < candidates.size(); ++c) {
      int j = candidates[c];
      if (r[At(j)][At(j)] > r[At(candidates[best])][At(candidates[best])]) best = c;
    }
    int k = candidates[best];
    double pivot = r[At(k)][At(k)];
    if (!(pivot > kCollinearPivot)) break;
    order.push_back(k);
    candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(best));
    for (int i : candidates) {
      for (int l : candidates)
        r[At(i)][At(l)] -= r[At(i)][At(k)] * r[At(k)][At(l)] / pivot;
    }
  }
  return order;
}

// Inverse of the symmetric positive definite matrix r restricted to `subset`, by Gauss-Jordan
// elimination; the result is indexed like r.
Matrix InverseOn(const Matrix& r, const std::vector<int>& subset) {
  size_t n = subset.size();
  Matrix g(n, std::vector<double>(2 * n, 0.0));
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b)
      g[a][b] = r[At(subset[a])][At(subset[b])];
    g[a][n + a] = 1;
  }
  for (size_t k = 0; k < n; ++k) {
    double pivot = g[k][k];
    for (double& cell : g[k])
      cell /= pivot;
    for (size_t i = 0; i < n; ++i) {
      if (i == k) continue;
      double factor = g[i][k];
      for (size_t c = 0; c < 2 * n; ++c)
        g[i][c] -= factor * g[k][c];
    }
  }
  Matrix inverse(r.size(), std::vector<double>(r.size(), 0.0));
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b)
      inverse[At(subset[a])][At(subset[b])] = g[a][n + b];
  }
  return inverse;
}

}  // namespace

Uncertainty EstimateUncertainty(const MarquardtFit& fit, double S,
                                const std::vector<bool>& active) {
  int np = fit.Parameters();
  Uncertainty u;
  u.determined.assign(At(np) + 1, false);
  u.standardError.assign(At(np) + 1, 0.0);
  u.correlation.assign(At(np), std::vector<double>(At(np), 0.0));

  Matrix a = NormalMatrix(fit);
  std::vector<double> scale(At(np) + 1, 0.0);
  std::vector<int> candidates;
  for (int j = 1; j <= np; ++j) {
    if (!active[At(j)] || !(a[At(j)][At(j)] > kUnfeltDiagonal)) continue;
    scale[At(j)] = std::sqrt(a[At(j)][At(j)]);
    candidates.push_back(j);
  }
  Matrix r = a;  // scaled to a unit diagonal over the candidates
  for (int j : candidates) {
    for (int k : candidates)
      r[At(j)][At(k)] = a[At(j)][At(k)] / (scale[At(j)] * scale[At(k)]);
  }
  std::vector<int> order = DeterminedOrder(r, candidates);
  Matrix inverse = InverseOn(r, order);

  u.degreesOfFreedom = fit.Points() - static_cast<int>(order.size());
  u.residualVariance = u.degreesOfFreedom > 0 ? S / u.degreesOfFreedom : 0;
  // Without a point beyond the parameters the scatter of the data is unknown, and with it every
  // standard error: an exact fit through as many points as parameters fixes none of them.
  if (u.degreesOfFreedom < 1) return u;
  for (int j : order) {
    u.determined[At(j)] = true;
    u.standardError[At(j)] = std::sqrt(u.residualVariance * inverse[At(j)][At(j)]) / scale[At(j)];
  }
  for (int j : order) {
    for (int k : order) {
      u.correlation[At(j - 1)][At(k - 1)] =
          inverse[At(j)][At(k)] / std::sqrt(inverse[At(j)][At(j)] * inverse[At(k)][At(k)]);
    }
  }
  return u;
}

// The table up to 9 degrees of freedom; beyond, the Cornish-Fisher expansion of t about the
// normal quantile z in powers of 1/degrees, within 1e-4 of the table from 10 on.
double StudentT975(int degrees) {
  static const double table[] = {0,      12.7062, 4.3027, 3.1824, 2.7764,
                                 2.5706, 2.4469,  2.3646, 2.3060, 2.2622};
  if (degrees < 1) return 0;
  if (degrees <= 9) return table[degrees];
  constexpr double z = 1.959963985;
  double z3 = z * z * z;
  double z5 = z3 * z * z;
  double z7 = z5 * z * z;
  double n = degrees;
  return z + (z3 + z) / (4 * n) + (5 * z5 + 16 * z3 + 3 * z) / (96 * n * n) +
         (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / (384 * n * n * n);
}

}  // namespace qalto
