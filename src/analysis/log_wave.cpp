#include "analysis/log_wave.h"

#include <cmath>

#include "common/ignore_errors.h"

namespace qalto {
namespace {

// ln(a / b) into logarithm, unless the quotient fails (b = 0, overflow) or its logarithm does
// (a quotient that is zero or negative); tested directly, since on a curve that is no wave
// most points fail.
void TakeLogOfQuotient(double a, double b, double& logarithm) {
  if (b == 0) return;
  double quotient = a / b;
  if (std::isfinite(quotient) && quotient > 0) logarithm = std::log(quotient);
}

}  // namespace

void LogWaveCurve(const Model& model, GrowingTable2<double>& y) {
  int n = model.NumberOfPoints;
  int k = model.CurrentCurve;
  const double ln10 = std::log(10.0);
  double id = y(n, k);  // limiting current, A
  Table1<double> w(kMaxPoints + 1);
  double logarithm = 1;  // natural logarithm of the last quotient that could be taken
  for (int i = 1; i <= n - 1; ++i) {
    TakeLogOfQuotient(id - y(i, k), y(i, k), logarithm);
    w(i) = logarithm / ln10;
  }
  // A curve of one point has nothing to extrapolate from; its point keeps 0.
  IgnoringErrors([&] { w(n) = 2 * w(n - 1) - w(n - 2); });
  for (int i = 1; i <= n; ++i)
    y(i, k) = w(i);
}

}  // namespace qalto
