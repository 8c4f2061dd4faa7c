#include "fit/residual_runs.h"

#include <cmath>

namespace qalto {

RunsTest ResidualRuns(const std::vector<double>& observed, const std::vector<double>& fitted,
                      int m) {
  RunsTest test;
  int last = 0;  // sign of the previous non-zero residual
  for (int i = 1; i <= m; ++i) {
    const size_t at = static_cast<size_t>(i);
    double r = observed[at] - fitted[at];
    int sign = r > 0 ? 1 : r < 0 ? -1 : 0;
    if (sign == 0) continue;
    (sign > 0 ? test.positive : test.negative)++;
    if (sign != last) test.runs++;
    last = sign;
  }
  const double n1 = test.positive;
  const double n2 = test.negative;
  const double n = n1 + n2;
  if (n1 < 1 || n2 < 1) return test;
  const double expected = 2 * n1 * n2 / n + 1;
  const double variance = 2 * n1 * n2 * (2 * n1 * n2 - n) / (n * n * (n - 1));
  if (variance > 0) test.z = (test.runs - expected) / std::sqrt(variance);
  return test;
}

}  // namespace qalto
