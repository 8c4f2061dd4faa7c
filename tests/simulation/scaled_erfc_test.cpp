#include "simulation/scaled_erfc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/runtime_error.h"

namespace qalto {
namespace {

double W(double x) {
  return ScaledErfc(x);
}

TEST(ScaledErfc, FollowsExpSquareTimesErfcAndRaisesBeyondTheDoubles) {
  for (double x = -3.0; x <= 25.0; x += 0.0625) {
    double expected = std::exp(x * x) * std::erfc(x);
    // The truncated series is poorest just below the switch at 1.5, still within 1e-6.
    EXPECT_NEAR(W(x), expected, 1e-6 * expected) << "x = " << x;
  }
  // Far out W(x) tends to 1 / (x sqrt(pi)).
  EXPECT_NEAR(W(1e6) * 1e6 * std::sqrt(std::numbers::pi), 1.0, 1e-7);
  // Overflow and arguments that are no numbers raise.
  EXPECT_THROW(W(-30.0), RuntimeError);  // 2 exp(900)
  EXPECT_THROW(W(std::nan("")), RuntimeError);
  EXPECT_THROW(W(INFINITY), RuntimeError);
}

TEST(CatalyticFactor, IsErfWithItsLimits) {
  EXPECT_EQ(CatalyticFactor(0.0), 0.0);
  for (double x = -4.0; x <= 6.0; x += 0.125)
    EXPECT_NEAR(CatalyticFactor(x), std::erf(x), 2e-7) << "x = " << x;
  EXPECT_NEAR(CatalyticFactor(10.0), 1.0, 1e-12);
  // Far beyond the range of exp(x^2) erf is 1 to the last digit, not an overflow.
  EXPECT_EQ(CatalyticFactor(40.0), 1.0);
  EXPECT_EQ(CatalyticFactor(-40.0), -1.0);
}

}  // namespace
}  // namespace qalto
