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

TEST(CurveExtremes, AnEmptyRangeGivesItsFirstElement) {
  Table1<double> values(5);
  values(2) = -3;
  EXPECT_EQ(MaxOfRange(values, 2, 1), -3);
  EXPECT_EQ(MinOfRange(values, 2, 0), -3);
}

TEST(CurveExtremes, CurvesRunFromPointOneToTheLastPoint) {
  Table1<double> potentials(6);
  potentials(0) = 9;  // point 0 is not part of a curve
  potentials(1) = 0.3;
  potentials(2) = 0.1;
  potentials(3) = -0.2;
  potentials(4) = -8;  // beyond the points in use
  EXPECT_EQ(MaxOfCurve(potentials, 3), 0.3);
  EXPECT_EQ(MinOfCurve(potentials, 3), -0.2);
  EXPECT_EQ(MaxOfCurve(potentials, 0), 0.3);
  // A range beyond the table is out of range.
  EXPECT_THROW(MaxOfCurve(potentials, 6), RuntimeError);
}

}  // namespace
}  // namespace qalto
