#pragma once
// Largest and smallest value of a stretch of a one-dimensional list (a curve copied into a
// working list, or the potential axis). An element never written counts as 0.

#include "common/table.h"

namespace qalto {

// The largest / smallest of values(from..to), both ends included. The running value starts
// as values(from) and is replaced only by a strictly greater (smaller) element, so the first
// of equal extremes is the one kept. An index outside the list raises "Subscript out of range".
double MaxOfRange(const Table1<double>& values, int from, int to);
double MinOfRange(const Table1<double>& values, int from, int to);

// The same over the points 1..numberOfPoints of a curve (the model's NumberOfPoints).
double MaxOfCurve(const Table1<double>& values, int numberOfPoints);
double MinOfCurve(const Table1<double>& values, int numberOfPoints);

}  // namespace qalto
