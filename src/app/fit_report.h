#pragma once
// The part of the fit report that says how well the data determine the fitted values: the
// "Parameter uncertainty" table, the correlation matrix, and for a fit of several curves the
// share of each curve in the sum of squares.

#include "app/result_window.h"
#include "fit/fit_curve.h"
#include "model/fit_result.h"

namespace qalto {

// "Least square = " with the sum of squares of one iteration.
void PrintLeastSquare(ResultWindow& result, double S);

// The table of initial and fitted values, then the sum of squares, the variance of the data,
// the convergence flag and the counts and computing time of the fit.
void PrintFitReport(ResultWindow& result, const FitReport& report);

// "Parameter uncertainty", one row per parameter: No., name, value, "±", standard error and the
// 95 % interval, or "undetermined" where the data do not fix it; then the residual variance
// and the correlation matrix of the determined parameters.
void PrintParameterUncertainty(ResultWindow& result, const FitResult& fit);

// "Profile-likelihood 95 % intervals", one row per profiled parameter: No., name, value, the
// lower and the upper end, and "open below" or "open above" where the end is the bound.
void PrintProfileIntervals(ResultWindow& result, const FitResult& fit);

// One row per curve of the fit: its name, its points and its least square.
void PrintCurveResiduals(ResultWindow& result, const FitResult& fit);

}  // namespace qalto
