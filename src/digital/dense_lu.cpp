#include "digital/dense_lu.h"

#include <cmath>
#include <utility>

namespace qalto {

bool FactorDense(const double* a, int n, DenseLu& f) {
  f.n = n;
  f.lu.assign(a, a + static_cast<size_t>(n) * n);
  f.pivot.assign(static_cast<size_t>(n), 0);
  double* m = f.lu.data();
  for (int i = 0; i < n; ++i) {
    int best = i;
    for (int r = i + 1; r < n; ++r) {
      if (std::abs(m[r * n + i]) > std::abs(m[best * n + i])) best = r;
    }
    f.pivot[i] = best;
    if (m[best * n + i] == 0.0) return false;
    if (best != i) {
      for (int c = 0; c < n; ++c)
        std::swap(m[i * n + c], m[best * n + c]);
    }
    const double inverse = 1.0 / m[i * n + i];
    for (int r = i + 1; r < n; ++r) {
      double& l = m[r * n + i];
      if (l == 0.0) continue;
      l *= inverse;
      for (int c = i + 1; c < n; ++c)
        m[r * n + c] -= l * m[i * n + c];
    }
  }
  return true;
}

void SolveDense(const DenseLu& f, double* b) {
  const int n = f.n;
  const double* m = f.lu.data();
  for (int i = 0; i < n; ++i) {
    std::swap(b[i], b[f.pivot[i]]);
    double sum = b[i];
    for (int c = 0; c < i; ++c)
      sum -= m[i * n + c] * b[c];
    b[i] = sum;
  }
  for (int i = n - 1; i >= 0; --i) {
    double sum = b[i];
    for (int c = i + 1; c < n; ++c)
      sum -= m[i * n + c] * b[c];
    b[i] = sum / m[i * n + i];
  }
}

void InvertDense(const DenseLu& f, double* inverse) {
  const int n = f.n;
  std::vector<double> column(static_cast<size_t>(n));
  for (int c = 0; c < n; ++c) {
    for (int r = 0; r < n; ++r)
      column[r] = r == c ? 1.0 : 0.0;
    SolveDense(f, column.data());
    for (int r = 0; r < n; ++r)
      inverse[r * n + c] = column[r];
  }
}

}  // namespace qalto
