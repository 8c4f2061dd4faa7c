#include "analysis/curve_extremes.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

TEST(CurveExtremes, RangesIncludeBothEndsAndUnwrittenElementsCountAsZero) {
  Table1<double> values(11);
  const double written[] = {0, 3, -2, 7, 7, -5, 1};
  for (int i = 1; i <= 6; ++i)
    values(i) = written[i];
  EXPECT_EQ(MaxOfRange(values, 1, 6), 7);
  EXPECT_EQ(MinOfRange(values, 1, 6), -5);
  EXPECT_EQ(MaxOfRange(values, 4, 4), 7);
  EXPECT_EQ(MinOfRange(values, 1, 2), -2);
  // Position 0 and positions beyond 6 were never written.
  EXPECT_EQ(MaxOfRange(values, 5, 8), 1);
  EXPECT_EQ(MinOfRange(values, 6, 8), 0);
  EXPECT_EQ(MaxOfRange(values, 0, 2), 3);
  EXPECT_EQ(MinOfRange(values, 0, 1), 0);
  EXPECT_EQ(MaxOfRange(values, 6, 10), 1);
  EXPECT_EQ(MinOfRange(values, 6, 10), 0);
  // An empty range gives the element at its start.
  EXPECT_EQ(MaxOfRange(values, 3, 2), 7);
  EXPECT_THROW(MaxOfRange(values, 8, 11), RuntimeError);
  EXPECT_THROW(MinOfRange(values, -1, 3), RuntimeError);
}

TEST(CurveExtremes, CurvesCoverPointsOneToN) {
  Table1<double> potentials(11);
  potentials(0) = 9;  // position 0 does not belong to the curve
  for (int i = 1; i <= 5; ++i)
    potentials(i) = 0.3 - 0.1 * i;
  EXPECT_DOUBLE_EQ(MaxOfCurve(potentials, 5), 0.2);
  EXPECT_DOUBLE_EQ(MinOfCurve(potentials, 5), -0.2);
  EXPECT_DOUBLE_EQ(MaxOfCurve(potentials, 0), 0.2);  // no points: the element at position 1
}

}  // namespace
}  // namespace qalto
