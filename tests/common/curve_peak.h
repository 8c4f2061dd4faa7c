#pragma once
// A simulated curve read the way the textbooks read it: its peak placed between the points by
// the parabola through the largest point and its two neighbours, its width at half height,
// and the potential where it crosses a level.

#include <cmath>
#include <functional>

#include "model/model.h"

namespace qalto::curve_test {

// The value of the curve at point i.
using Samples = std::function<double(int)>;

// The total current of the reaction table at point i, A.
inline double Total(const Model& m, int i) {
  return m.ReactionCurrents(i, m.TotalCurrentColumn);
}

// The total current of the reaction table (times sign: -1 finds an anodic peak).
inline Samples TotalCurrent(const Model& m, double sign = 1.0) {
  return [&m, sign](int i) { return sign * m.ReactionCurrents(i, m.TotalCurrentColumn); };
}

// A curve of the store, cathodic positive (times sign).
inline Samples StoredCurrent(const Model& m, int curve = 1, double sign = 1.0) {
  return [&m, curve, sign](int i) { return sign * m.CurrentY(i, curve); };
}

struct Peak {
  double E = 0;  // V
  double I = 0;  // A, of the samples' sign
};

// The largest sample of points first..last; at either end the end point itself.
inline Peak FindPeak(const Model& m, const Samples& y, int first, int last) {
  int best = first;
  for (int i = first; i <= last; ++i)
    if (y(i) > y(best)) best = i;
  if (best == first || best == last) return {m.PotentialX(best), y(best)};
  const double y0 = y(best - 1), y1 = y(best), y2 = y(best + 1);
  const double shift = 0.5 * (y0 - y2) / (y0 - 2.0 * y1 + y2);  // in points
  const double step = m.PotentialX(best + 1) - m.PotentialX(best);
  return {m.PotentialX(best) + shift * step, y1 - 0.25 * (y0 - y2) * shift};
}

// The peak of the total current (times sign: -1 finds an anodic peak) among points first..last.
inline Peak TotalPeak(const Model& m, int first, int last, double sign = 1.0) {
  return FindPeak(m, TotalCurrent(m, sign), first, last);
}

// The potential where the curve first crosses the level among points first..last, linearly
// between the points; after = 1 the crossing after that one. NaN when there is none.
inline double Crossing(const Model& m, const Samples& y, int first, int last, double level,
                       int after = 0) {
  for (int i = first + 1; i <= last; ++i) {
    const double a = y(i - 1) - level, b = y(i) - level;
    if ((a < 0.0) != (b < 0.0) && after-- == 0)
      return m.PotentialX(i - 1) + (m.PotentialX(i) - m.PotentialX(i - 1)) * a / (a - b);
  }
  return NAN;
}

// The width of a peak of that height at half its height, V.
inline double HalfWidth(const Model& m, const Samples& y, int first, int last, double height) {
  return std::abs(Crossing(m, y, first, last, 0.5 * height, 1) -
                  Crossing(m, y, first, last, 0.5 * height));
}

}  // namespace qalto::curve_test
