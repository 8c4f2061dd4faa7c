#include "analysis/curve_extremes.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

TEST(CurveExtremes, LargestAndSmallestOfARange) {
  Table1<double> values(11);
  const double data[] = {0, 3, -1, 7, 7, -4, 2};
  for (int i = 0; i <= 6; ++i)
    values(i) = data[i];
  EXPECT_EQ(MaxOfRange(values, 1, 6), 7);
  EXPECT_EQ(MinOfRange(values, 1, 6), -4);
  EXPECT_EQ(MaxOfRange(values, 5, 6), 2);
  EXPECT_EQ(MinOfRange(values, 1, 3), -1);
  // Both ends are included.
  EXPECT_EQ(MaxOfRange(values, 4, 4), 7);
  EXPECT_EQ(MinOfRange(values, 2, 5), -4);
  // Elements never written count as 0.
  EXPECT_EQ(MinOfRange(values, 6, 10), 0);
  EXPECT_EQ(MaxOfRange(values, 5, 10), 2);
}

}  // namespace
}  // namespace qalto
