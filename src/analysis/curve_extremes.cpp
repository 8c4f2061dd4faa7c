#include "analysis/curve_extremes.h"

namespace qalto {

double MaxOfRange(const Table1<double>& values, int from, int to) {
  double largest = values(from);
  for (int i = from; i <= to; ++i) {
    if (values(i) > largest) largest = values(i);
  }
  return largest;
}

double MinOfRange(const Table1<double>& values, int from, int to) {
  double smallest = values(from);
  for (int i = from; i <= to; ++i) {
    if (values(i) < smallest) smallest = values(i);
  }
  return smallest;
}

double MaxOfCurve(const Table1<double>& values, int numberOfPoints) {
  return MaxOfRange(values, 1, numberOfPoints);
}

double MinOfCurve(const Table1<double>& values, int numberOfPoints) {
  return MinOfRange(values, 1, numberOfPoints);
}

}  // namespace qalto
