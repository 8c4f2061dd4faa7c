#pragma once
// What the last fit found: the fitted values with their standard errors, 95 % intervals and
// correlations, the parameters the data do not determine, and the residual of every curve.
// The fit fills it, the result window and the parameter report print it.

#include <string>
#include <vector>

namespace qalto {

struct FittedParameter {
  int code = 0;              // index of the parameter's fitted box on the Chemicals window
  std::string name;          // "ks(1)", "E0(1)", ...
  double initial = 0;        // as typed
  double value = 0;          // fitted, in the quantity's own unit
  bool determined = false;   // false: the data do not fix it (a singular normal matrix)
  double standardError = 0;  // same unit as value
  double lower95 = 0;        // 95 % interval; asymmetric for quantities fitted on a log scale
  double upper95 = 0;
  bool logScale = false;  // moved on a logarithmic scale by the fit
};

// The share of one measured curve in a fit.
struct CurveResidual {
  std::string label;  // the curve's name in the report
  int points = 0;
  double sumOfSquares = 0;  // A^2
};

struct FitResult {
  bool valid = false;  // a fit has run to its end
  std::vector<FittedParameter> parameters;
  // correlation[p][q] for parameters p, q (0-based); 0 beside an undetermined parameter
  std::vector<std::vector<double>> correlation;
  double sumOfSquares = 0;      // A^2
  double residualVariance = 0;  // sum of squares / degrees of freedom, A^2
  int degreesOfFreedom = 0;     // points minus determined parameters
  int flag = 0;
  int iterations = 0;
  std::vector<CurveResidual> curves;
};

}  // namespace qalto
