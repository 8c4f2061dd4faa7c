#pragma once
// Whether the residuals of a fit are noise or a shape: the Wald-Wolfowitz runs test on their
// signs. Residuals that are mere noise change sign about every other point; a model that misses
// a feature of the data leaves long runs of one sign, and then the standard errors computed from
// the residual variance are too small.

#include <vector>

namespace qalto {

struct RunsTest {
  int runs = 0;      // stretches of one sign
  int positive = 0;  // residuals above zero
  int negative = 0;  // residuals below zero (zeros count as neither)
  double z = 0;      // (runs - expected) / standard deviation; 0 when it cannot be formed
};

// Runs of the signs of observed(i) - fitted(i), i = 1..m.
RunsTest ResidualRuns(const std::vector<double>& observed, const std::vector<double>& fitted,
                      int m);

// Fewer runs than chance allows at the 0.1 % level: z below -3.09.
inline bool SystematicResiduals(const RunsTest& test) {
  return test.z < -3.09;
}

}  // namespace qalto
