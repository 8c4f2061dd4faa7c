#include "simulation/scaled_erfc.h"

#include <cmath>

#include "common/constants.h"

namespace qalto {

double ScaledErfc(double x) {
  // Below 4 the product loses no more than 16 ulp through exp(x^2); beyond it the continued
  // fraction 1/sqrt(pi) / (x + (1/2) / (x + 1 / (x + (3/2) / (x + ...)))) converges in 60 levels.
  if (x < 4.0) return std::exp(x * x) * std::erfc(x);
  double g = x;
  for (int level = 60; level >= 1; --level)
    g = x + 0.5 * level / g;
  return 1.0 / (kSqrtPiExact * g);
}

}  // namespace qalto
