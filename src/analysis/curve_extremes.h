#pragma once
// Largest and smallest value of a stretch of a curve, as the half-wave finder and the data
// import use them. An element never written counts as 0, as the tables start cleared.

#include "common/table.h"

namespace qalto {

// The largest / smallest of values(from..to), both ends included. The running value starts
// as values(from), so an empty range (to < from) gives values(from).
double MaxOfRange(const Table1<double>& values, int from, int to);
double MinOfRange(const Table1<double>& values, int from, int to);

// MaxOfRange / MinOfRange over the points 1..numberOfPoints of a curve.
double MaxOfCurve(const Table1<double>& values, int numberOfPoints);
double MinOfCurve(const Table1<double>& values, int numberOfPoints);

}  // namespace qalto
