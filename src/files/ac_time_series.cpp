#include "files/ac_time_series.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "model/point_time.h"
#include "simulation/ac_program.h"

namespace qalto {

std::optional<std::string> SampleOnAcProgram(const Model& model, ImportedCurve& curve) {
  const std::vector<double>& t = curve.time;
  if (t.size() < 2 || t.size() != curve.current.size())
    return "it records no time column: an AC voltammogram is read as a time series";
  for (size_t j = 1; j < t.size(); ++j) {
    if (!(t[j] > t[j - 1]))
      return "its time does not rise at point " + std::to_string(j + 1) + " (" + PlainNumber(t[j]) +
             " s)";
  }
  AcProgram program;
  try {
    program = AcProgramOf(model);
  } catch (const RuntimeError& error) {
    return "the AC program cannot be made: " + error.Description();
  }
  const double span = t.back() - t.front();                      // s
  const double step = span / static_cast<double>(t.size() - 1);  // s, the file's mean
  if (step > program.sample * (1 + 1e-9)) {
    return "it samples the current every " + PlainNumber(step) + " s, fewer than " +
           std::to_string(kAcSamplesPerPeriod) + " points a period of f (Hz) " +
           PlainNumber(program.frequency);
  }
  const int points = std::min(program.points, static_cast<int>(std::floor(span / program.sample)));
  ImportedCurve sampled = curve;
  sampled.potential.clear();
  sampled.current.clear();
  sampled.time.clear();
  size_t j = 1;  // the file's first time after the instant
  for (int i = 1; i <= points; ++i) {
    const double at = i * program.sample;  // s after the file's first time
    while (j + 1 < t.size() && t[j] - t.front() < at)
      ++j;
    const double w = (at - (t[j - 1] - t.front())) / (t[j] - t[j - 1]);
    sampled.current.push_back(curve.current[j - 1] + w * (curve.current[j] - curve.current[j - 1]));
    sampled.potential.push_back(program.DcPotentialAt(i));
    sampled.time.push_back(at);
  }
  curve = std::move(sampled);
  return std::nullopt;
}

}  // namespace qalto
