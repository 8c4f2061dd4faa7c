#include "simulation/scaled_erfc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qalto {
namespace {

// Against the product in long double, whose range and digits suffice up to x = 100, and the
// asymptotic series 1/(sqrt(pi) x) (1 - 1/(2x^2) + 3/(4x^4)) far beyond. The series of erf that
// this function once summed was 8e-7 off at x = 1.5, which the steps from -3 by 1/16 reach.
TEST(ScaledErfc, KeepsItsDigitsFromNegativeToLargeArguments) {
  for (double x = -3.0; x <= 100.0; x += x < 8.0 ? 0.0625 : 4.0) {
    const long double X = x;
    const double product = static_cast<double>(expl(X * X) * erfcl(X));
    EXPECT_NEAR(ScaledErfc(x) / product, 1.0, 1e-14) << "x = " << x;
  }
  for (double x : {1e4, 1e6}) {
    const double y = 1 / (x * x);
    EXPECT_NEAR(ScaledErfc(x) * std::sqrt(std::numbers::pi) * x / (1 - y / 2 + 3 * y * y / 4), 1.0,
                1e-15)
        << "x = " << x;
  }
}

}  // namespace
}  // namespace qalto
