#pragma once
// How well the data determine the fitted parameters: from the Jacobian at the optimum and the
// residual variance, the covariance matrix s^2 (J'J)^-1, its standard errors and correlations.
// A parameter that the data do not feel, or that another parameter (or a combination of them)
// can stand in for, makes the normal matrix singular; it is named undetermined and left out of
// the inversion, so that the others still get their numbers.

#include <vector>

#include "fit/marquardt_step.h"

namespace qalto {

struct Uncertainty {
  std::vector<bool> determined;  // 1..NP
  std::vector<double>
      standardError;  // 1..NP, in the coordinates the engine moves; 0 if undetermined
  std::vector<std::vector<double>> correlation;  // [p][q], p, q = 0..NP-1
  double residualVariance = 0;                   // S / degrees of freedom
  int degreesOfFreedom = 0;                      // points minus determined parameters
};

// From the derivative table the engine holds (formed by DerivativesAt at the optimum), the sum
// of squares S there and the active flags active(1..NP).
Uncertainty EstimateUncertainty(const MarquardtFit& fit, double S, const std::vector<bool>& active);

// The 97.5 % quantile of Student's t distribution with `degrees` degrees of freedom, the factor of
// a two-sided 95 % interval; 0 for no degree of freedom.
double StudentT975(int degrees);

}  // namespace qalto
