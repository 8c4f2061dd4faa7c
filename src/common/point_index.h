#pragma once
// Conversion of a real number to a point count or a point index of a curve: nearest integer,
// halves to the even one, "Overflow" beyond a thousand million either way, so that a count
// doubled or a sum of two stays an int. Curves hold far more points than a 16-bit counter can
// number, so counts and indexes never go through ToInt16.

#include <cmath>

#include "common/runtime_error.h"

namespace qalto {

inline constexpr double kMaxPointIndex = 1e9;

inline int ToPointIndex(double value) {
  if (!std::isfinite(value)) throw RuntimeError::Overflow();
  double rounded = std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
  if (std::fabs(rounded) > kMaxPointIndex) throw RuntimeError::Overflow();
  return static_cast<int>(rounded);
}

}  // namespace qalto
