#include "analysis/curve_integral.h"

#include <cmath>

#include "common/checked_math.h"

namespace qalto {

// Non-uniform axes (an imported curve) are integrated with the first interval throughout, as
// the other curve transforms take their spacing; no warning is given.
void IntegrateCurve(const Model& model, const GrowingTable1<double>& x, GrowingTable2<double>& y) {
  int n = model.NumberOfPoints;
  int k = model.CurrentCurve;
  double h = std::fabs(x(2) - x(1));  // V
  Table1<double> w(kMaxPoints + 1);
  double area = 0;
  for (int i = 2; i <= n; ++i) {
    area = Checked(area + (h / 2) * (y(i - 1, k) + y(i, k)));
    w(i) = area;
  }
  w(1) = w(2);
  for (int i = 1; i <= n; ++i)
    y(i, k) = w(i);
}

}  // namespace qalto
