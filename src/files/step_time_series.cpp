#include "files/step_time_series.h"

#include <cmath>

#include "common/plain_number.h"

namespace qalto {

std::optional<std::string> TakeStepTimes(ImportedCurve& curve) {
  std::vector<double> t = curve.time.empty() ? curve.potential : curve.time;
  if (t.size() < 2) return "a chronoamperogram needs two points or more";
  for (size_t k = 1; k < t.size(); ++k) {
    if (!(t[k] > t[k - 1]))
      return "the time does not rise at point " + std::to_string(k + 1) + " (" +
             PlainNumber(t[k - 1]) + " s, then " + PlainNumber(t[k]) + " s)";
  }
  const double spacing = (t.back() - t.front()) / static_cast<double>(t.size() - 1);  // s
  const double origin = t.front() > 1.5 * spacing ? t.front() : 0.0;                  // s
  ImportedCurve after = curve;
  after.potential.clear();
  after.current.clear();
  after.time.clear();
  for (size_t k = 0; k < t.size(); ++k) {
    if (!(t[k] - origin > 0)) continue;
    after.potential.push_back(t[k] - origin);
    after.current.push_back(curve.current[k]);
    after.time.push_back(t[k] - origin);
  }
  if (after.potential.size() < 2) return "fewer than two points after the step (t > 0)";
  curve = std::move(after);
  return std::nullopt;
}

StepTimeTexts StepTimeTextsOf(const ImportedCurve& curve, double secondStep) {
  const std::vector<double>& t = curve.potential;
  StepTimeTexts texts;
  const double last = t.empty() ? 0.0 : t.back();  // s
  const double spacing =
      t.size() < 2 ? last : (last - t.front()) / static_cast<double>(t.size() - 1);
  const bool twoSteps = secondStep > 0 && last > secondStep;
  texts.sample = NumberText(spacing);
  texts.first = NumberText(twoSteps ? last - secondStep : last);
  texts.second = NumberText(twoSteps ? secondStep : 0.0);
  return texts;
}

}  // namespace qalto
