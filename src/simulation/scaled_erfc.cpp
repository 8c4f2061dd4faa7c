#include "simulation/scaled_erfc.h"

#include <cmath>
#include <limits>

#include "common/checked_math.h"

namespace qalto {
namespace {

constexpr double kSqrt2 = 1.4142136;
constexpr double kSqrtPiErfc = 1.7724539;  // sqrt(pi) as this function rounds it
constexpr double kBranchLimit = 1.5;       // |x| from which the continued fraction is used

// Continued fraction of W for |x| >= 1.5, truncated after Int(32 / x) + 2 levels.
double ContinuedFraction(double& x) {
  double add = 0.0;
  if (!(x > 0.0)) {
    x = -x;
    add = 2.0 * Exp(x * x);
  }
  int levels = static_cast<int>(std::floor(32.0 / x)) + 2;
  double g = 1.0 / (kSqrt2 * x);
  do {
    g = levels * g;
    g = g + kSqrt2 * x;
    g = 1.0 / g;
    levels = levels - 1;
  } while (levels != 0);
  double w = g * kSqrt2 / kSqrtPiErfc;
  if (add != 0.0) w = -w;
  return add + w;
}

// Taylor series of erf for |x| < 1.5, summed from its tail (Horner form), Int(9 |x|) + 2 terms.
double SeriesBranch(double x) {
  double x2 = x * x;
  int terms = static_cast<int>(std::floor(9.0 * std::fabs(x))) + 2;
  double g = terms / (terms + x2);
  do {
    g = g * (0.5 - terms) * x2;
    g = g / (terms * (terms + 0.5));
    g = g + 1.0;
    terms = terms - 1;
  } while (terms != 0);
  g = 2.0 * g * x / kSqrtPiErfc;
  return std::exp(x2) * (1.0 - g);
}

}  // namespace

double ScaledErfc(double& x) {
  if (!std::isfinite(x)) throw RuntimeError::Overflow();
  if (std::fabs(x) >= kBranchLimit) return ContinuedFraction(x);
  return SeriesBranch(x);
}

double CatalyticFactor(double x) {
  // erf is +-1 to double precision long before exp(x^2) overflows: answer that instead of failing.
  if (x * x > std::log(std::numeric_limits<double>::max())) return Sgn(x);
  double w = ScaledErfc(x);
  return 1.0 - w / std::exp(x * x);
}

}  // namespace qalto
