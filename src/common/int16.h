#pragma once
// Conversion of a real number to a 16-bit signed integer: nearest integer, halves to the even
// one, "Overflow" outside -32768..32767.

#include <cmath>
#include <cstdint>

#include "common/runtime_error.h"

namespace qalto {

inline int16_t ToInt16(double value) {
  if (!std::isfinite(value)) throw RuntimeError::Overflow();
  double rounded = std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
  if (rounded < -32768.0 || rounded > 32767.0) throw RuntimeError::Overflow();
  return static_cast<int16_t>(rounded);
}

}  // namespace qalto
