#include "files/curve_resampling.h"

#include <algorithm>

namespace qalto {

ImportedCurve ResampledKeepingPeaks(const ImportedCurve& curve, size_t maxPoints) {
  size_t n = curve.potential.size();
  if (n <= maxPoints || maxPoints < 2) return curve;
  ImportedCurve resampled = curve;
  resampled.potential.clear();
  resampled.current.clear();
  // Two places are kept for the first and the last point, which set where the curve starts
  // and ends.
  size_t runs = (maxPoints - 2) / 2;
  size_t lastKept = n;  // none yet
  auto keep = [&](size_t i) {
    if (i == lastKept) return;
    resampled.potential.push_back(curve.potential[i]);
    resampled.current.push_back(curve.current[i]);
    lastKept = i;
  };
  keep(0);
  for (size_t r = 0; r < runs; ++r) {
    size_t from = r * n / runs;
    size_t to = (r + 1) * n / runs;
    auto first = curve.current.begin() + static_cast<std::ptrdiff_t>(from);
    auto last = curve.current.begin() + static_cast<std::ptrdiff_t>(to);
    auto [low, high] = std::minmax_element(first, last);
    size_t a = static_cast<size_t>(low - curve.current.begin());
    size_t b = static_cast<size_t>(high - curve.current.begin());
    if (a > b) std::swap(a, b);
    keep(a);
    keep(b);
  }
  keep(n - 1);
  return resampled;
}

}  // namespace qalto
