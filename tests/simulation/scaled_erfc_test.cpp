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

TEST(ScaledErfc, StatedValuesOnBothBranches) {
  EXPECT_EQ(W(0.0), 1.0);
  EXPECT_NEAR(W(1.0), 0.4275836, 1e-7);   // series branch
  EXPECT_NEAR(W(1.5), 0.32158540, 1e-8);  // continued fraction from |x| = 1.5
  EXPECT_NEAR(W(1.5), 0.32158542, 1e-7);  // exp(2.25) erfc(1.5)
}

TEST(ScaledErfc, NegativeArgumentIsReflectedAndChangesTheCallersVariable) {
  double x = -2.0;
  double w = ScaledErfc(x);
  EXPECT_EQ(x, 2.0);
  double w2 = W(2.0);
  EXPECT_DOUBLE_EQ(w, 2.0 * std::exp(4.0) - w2);
  EXPECT_NEAR(w, std::exp(4.0) * std::erfc(-2.0), 1e-6 * w);

  // The series branch leaves its argument alone.
  double small = -1.0;
  ScaledErfc(small);
  EXPECT_EQ(small, -1.0);
}

TEST(ScaledErfc, FollowsExpSquareTimesErfcOverTheWholeRange) {
  for (double x = -3.0; x <= 25.0; x += 0.0625) {
    double expected = std::exp(x * x) * std::erfc(x);
    // The truncated series is poorest just below the switch at 1.5, still within 1e-6.
    EXPECT_NEAR(W(x), expected, 1e-6 * expected) << "x = " << x;
  }
  // Far out W(x) tends to 1 / (x sqrt(pi)).
  EXPECT_NEAR(W(1e6) * 1e6 * std::sqrt(std::numbers::pi), 1.0, 1e-7);
}

TEST(ScaledErfc, OverflowAndNonFiniteArgumentsRaise) {
  EXPECT_THROW(W(-30.0), RuntimeError);  // 2 exp(900)
  EXPECT_THROW(W(std::nan("")), RuntimeError);
  EXPECT_THROW(W(INFINITY), RuntimeError);
  try {
    W(-30.0);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Overflow");
  }
}

TEST(CatalyticFactor, IsErfWithItsLimits) {
  EXPECT_EQ(CatalyticFactor(0.0), 0.0);
  for (double x = -4.0; x <= 6.0; x += 0.125) {
    EXPECT_NEAR(CatalyticFactor(x), std::erf(x), 2e-7) << "x = " << x;
  }
  EXPECT_NEAR(CatalyticFactor(10.0), 1.0, 1e-12);
  // Far beyond the range of exp(x^2) erf is 1 to the last digit, not an overflow.
  EXPECT_EQ(CatalyticFactor(40.0), 1.0);
  EXPECT_EQ(CatalyticFactor(-40.0), -1.0);
}

}  // namespace
}  // namespace qalto
