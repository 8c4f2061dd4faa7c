#pragma once
// What the last fit found: the fitted values with their standard errors, 95 % intervals and
// correlations, the parameters the data do not determine, and the residual of every curve.
// The fit fills it, the result window and the parameter report print it.

#include <cmath>
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
  bool atBound = false;   // ended on its min or max: the data may want it beyond
  double minimum = 0;     // the bounds it was fitted within
  double maximum = 0;
  bool arbitraryZero = false;  // E°, a capacitance slope, a baseline: zero is no absence
  // Not fixed by the data: a singular normal matrix, or a standard error larger than the value;
  // for a quantity whose zero is a convention (E° is counted from the reference electrode's),
  // larger than half the range it was fitted within.
  bool Undetermined() const {
    if (!determined) return true;
    const double size = arbitraryZero ? 0.5 * std::fabs(maximum - minimum) : std::fabs(value);
    return standardError > size;
  }
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
  int points = 0;  // measured points compared
  std::vector<CurveResidual> curves;
  // The runs test of the residuals' signs: z well below 0 (few, long runs) means the model
  // misses a shape of the data and the intervals are too small.
  int residualRuns = 0;
  double runsZ = 0;
  bool systematicResiduals = false;
};

}  // namespace qalto
