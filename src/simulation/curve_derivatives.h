#pragma once
// Semi-derivative and first derivative of a curve with respect to a uniformly spaced potential
// axis, in place. The sweep currents of linear sweep and cyclic voltammetry are the
// semi-derivatives of the sampled step responses; the analysis commands apply the same
// transforms to measured curves.

#include "common/growing_table.h"
#include "model/model.h"

namespace qalto {

// Replaces y(i, CurrentCurve), i = 1..NumberOfPoints, by its semi-derivative (Grunwald weights,
// spacing h = |x(2) - x(1)|, both ends extrapolated linearly).
void SemiDifferentiateCurve(const Model& model, const GrowingTable1<double>& x,
                            GrowingTable2<double>& y);

// Replaces y(i, CurrentCurve), i = 1..NumberOfPoints, by its derivative (central differences
// inside, one-sided at the ends, spacing h = |x(2) - x(1)|).
void DifferentiateCurve(const Model& model, const GrowingTable1<double>& x,
                        GrowingTable2<double>& y);

// The same transforms on any column of y, for numberOfPoints points.
void SemiDifferentiateColumn(const GrowingTable1<double>& x, GrowingTable2<double>& y, int column,
                             int numberOfPoints);
void DifferentiateColumn(const GrowingTable1<double>& x, GrowingTable2<double>& y, int column,
                         int numberOfPoints);

}  // namespace qalto
