#pragma once
// Running integral of a curve over a uniformly spaced potential axis, in place.

#include "common/growing_table.h"
#include "model/model.h"

namespace qalto {

// Replaces y(i, CurrentCurve), i = 1..NumberOfPoints, by the cumulative trapezoid integral
// with the spacing h = |x(2) - x(1)|; point 1 takes the value of point 2.
void IntegrateCurve(const Model& model, const GrowingTable1<double>& x, GrowingTable2<double>& y);

}  // namespace qalto
