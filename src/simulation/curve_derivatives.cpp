#include "simulation/curve_derivatives.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/checked_math.h"
#include "common/constants.h"

namespace qalto {
namespace {

constexpr int kRowsPerBlock = 8;  // convolution rows formed side by side

// S(k) = sum over m = 1..k-1 of w(k - m) Y(m), for k = first..last (first >= 2). Rows are formed
// in blocks so that their sums run side by side; each row still adds its terms in the order of m,
// so the result is the same as one row after the other.
void Convolve(const std::vector<double>& w, const std::vector<double>& Y, int first, int last,
              std::vector<double>& S) {
  int k0 = first;
  for (; k0 + kRowsPerBlock - 1 <= last; k0 += kRowsPerBlock) {
    double acc[kRowsPerBlock] = {};
    for (int m = 1; m <= k0 - 1; ++m) {
      const double* wm = &w[k0 - m];  // wm[j] = w(k0 + j - m)
      for (int j = 0; j < kRowsPerBlock; ++j)
        acc[j] += wm[j] * Y[m];
    }
    for (int j = 1; j < kRowsPerBlock; ++j) {
      for (int m = k0; m <= k0 + j - 1; ++m)
        acc[j] += w[k0 + j - m] * Y[m];
    }
    for (int j = 0; j < kRowsPerBlock; ++j)
      S[k0 + j] = acc[j];
  }
  for (int k = k0; k <= last; ++k) {
    double sum = 0.0;
    for (int m = 1; m <= k - 1; ++m)
      sum += w[k - m] * Y[m];
    S[k] = sum;
  }
}

}  // namespace

void SemiDifferentiateColumn(const GrowingTable1<double>& x, GrowingTable2<double>& y, int column,
                             int numberOfPoints) {
  const int N = numberOfPoints;
  double h = std::fabs(x(2) - x(1));  // potential spacing, V
  double c = Div(2.0, Sqrt(kPi * h));
  // The scratch list holds points 0..kMaxPoints and the end points reach back to N - 2.
  if (N < 2 || N > kMaxPoints) throw RuntimeError::SubscriptOutOfRange();

  std::vector<double> Y(static_cast<size_t>(N), 0.0);  // Y(1..N-1)
  for (int m = 1; m <= N - 1; ++m)
    Y[m] = y(m, column);
  std::vector<double> w(static_cast<size_t>(std::max(N - 1, 1)), 0.0);  // w(1..N-2)
  for (int q = 1; q <= N - 2; ++q) {
    w[q] = std::sqrt(q + 1.0) - 2.0 * std::sqrt(static_cast<double>(q)) + std::sqrt(q - 1.0);
  }
  std::vector<double> S(static_cast<size_t>(N), 0.0);
  Convolve(w, Y, 3, N - 1, S);

  Table1<double> T(kMaxPoints + 1);
  for (int k = 3; k <= N - 1; ++k)
    T(k) = Checked(c * (S[k] + Y[k]));
  T(N) = 2.0 * T(N - 1) - T(N - 2);
  T(2) = T(3) - (T(4) - T(3));
  T(1) = T(2) - (T(4) - T(3));
  for (int k = 1; k <= N; ++k)
    y(k, column) = Checked(T(k));
}

void DifferentiateColumn(const GrowingTable1<double>& x, GrowingTable2<double>& y, int column,
                         int numberOfPoints) {
  const int N = numberOfPoints;
  double h = std::fabs(x(2) - x(1));  // potential spacing, V
  Table1<double> D(kMaxPoints + 1);
  D(1) = Div(y(2, column) - y(1, column), h);
  D(N) = Div(y(N, column) - y(N - 1, column), h);
  for (int k = 2; k <= N - 1; ++k)
    D(k) = Div(y(k + 1, column) - y(k - 1, column), 2.0 * h);
  for (int k = 1; k <= N; ++k)
    y(k, column) = D(k);
}

void SemiDifferentiateCurve(const Model& model, const GrowingTable1<double>& x,
                            GrowingTable2<double>& y) {
  SemiDifferentiateColumn(x, y, model.CurrentCurve, model.NumberOfPoints);
}

void DifferentiateCurve(const Model& model, const GrowingTable1<double>& x,
                        GrowingTable2<double>& y) {
  DifferentiateColumn(x, y, model.CurrentCurve, model.NumberOfPoints);
}

}  // namespace qalto
