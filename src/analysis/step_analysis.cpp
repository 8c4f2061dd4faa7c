#include "analysis/step_analysis.h"

#include <cmath>
#include <cstddef>

#include "common/checked_math.h"
#include "common/constants.h"

namespace qalto {
namespace {

// Least squares y = slope x + intercept over the points with t > 0, x = t^power.
StepLineFit FitLine(const std::vector<double>& time, const std::vector<double>& y, double power) {
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < time.size() && i < y.size(); ++i) {
    if (!(time[i] > 0)) continue;
    const double x = std::pow(time[i], power);
    n += 1;
    sx += x;
    sy += y[i];
    sxx += x * x;
    sxy += x * y[i];
  }
  const double spread = n * sxx - sx * sx;
  if (n < 2 || !(spread > 0)) throw RuntimeError::InvalidCall();
  StepLineFit fit;
  fit.slope = Checked((n * sxy - sx * sy) / spread);
  fit.intercept = Checked((sy - fit.slope * sx) / n);
  fit.points = static_cast<int>(n);
  return fit;
}

// slope = k nFAC sqrt(D / pi), k = 1 (Cottrell) or 2 (Anson).
void DiffusionFromSlope(StepLineFit& fit, double k, double nFAC) {
  const double s = fit.slope / k;
  fit.squareProduct = Checked(kPi * s * s / (kFaraday * kFaraday));
  if (nFAC != 0) fit.diffusion = Checked(kPi * s * s / (nFAC * nFAC));
}

}  // namespace

StepLineFit CottrellFit(const std::vector<double>& time, const std::vector<double>& current,
                        double nFAC) {
  StepLineFit fit = FitLine(time, current, -0.5);
  DiffusionFromSlope(fit, 1.0, nFAC);
  return fit;
}

StepLineFit AnsonFit(const std::vector<double>& time, const std::vector<double>& charge,
                     double nFAC) {
  StepLineFit fit = FitLine(time, charge, 0.5);
  DiffusionFromSlope(fit, 2.0, nFAC);
  return fit;
}

}  // namespace qalto
