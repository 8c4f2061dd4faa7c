#include "fit/ac_fit_harmonics.h"

#include <cstddef>

#include "analysis/ac_harmonics.h"
#include "common/runtime_error.h"
#include "model/measured_ac.h"
#include "model/point_time.h"

namespace qalto {

std::vector<int> FittedHarmonics(const Model& model) {
  std::vector<int> harmonics;
  if (model.Technique != Technique::kAcVoltammetry) return harmonics;
  for (int k = 0; k <= kAcHarmonics; ++k)
    if (model.AcFitHarmonics & (1 << k)) harmonics.push_back(k);
  return harmonics;
}

int ComparedLength(const Model& model) {
  const auto count = static_cast<int>(FittedHarmonics(model).size());
  return model.NumberOfPoints * (count > 0 ? count : 1);
}

std::vector<double> ObservedValues(const Model& model) {
  std::vector<double> y{0.0};
  // A measured AC voltammogram's raw current, whichever of its harmonics curve 1 shows.
  const std::vector<double> current = MeasuredAcRaw(model, 1);
  const std::vector<int> harmonics = FittedHarmonics(model);
  if (harmonics.empty()) {
    y.insert(y.end(), current.begin(), current.end());
    return y;
  }
  const AcHarmonicsResult h = AcHarmonics(current, PointTime(model), model.AcFrequency);
  for (int k : harmonics) {
    const std::vector<double>& envelope = k == 0 ? h.dc : h.envelope[static_cast<size_t>(k)];
    if (envelope.size() != current.size()) throw RuntimeError::SubscriptOutOfRange();
    y.insert(y.end(), envelope.begin(), envelope.end());
  }
  return y;
}

void SimulatedValues(const Model& model, std::vector<double>& f) {
  const int n = model.NumberOfPoints;
  if (f.size() <= static_cast<size_t>(ComparedLength(model)))
    throw RuntimeError::SubscriptOutOfRange();
  const std::vector<int> harmonics = FittedHarmonics(model);
  if (harmonics.empty()) {
    for (int i = 1; i <= n; ++i)
      f[static_cast<size_t>(i)] = model.CurrentY(i, model.CurrentCurve);
    return;
  }
  size_t at = 1;
  for (int k : harmonics)
    for (int i = 1; i <= n; ++i)
      f[at++] = model.AcHarmonics(i, k);
}

int CurvePointOf(const Model& model, int i) {
  const int n = model.NumberOfPoints;
  return n > 0 ? (i - 1) % n + 1 : i;
}

}  // namespace qalto
