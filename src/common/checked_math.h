#pragma once
// Arithmetic that fails the way the user is told about: a quotient by zero, an exponential that
// overflows, the logarithm or square root of an invalid argument raise a RuntimeError instead of
// leaving an infinity or a NaN in a curve.

#include <cmath>

#include "common/runtime_error.h"

namespace qalto {

// A finite result, or "Overflow".
inline double Checked(double value) {
  if (!std::isfinite(value)) throw RuntimeError::Overflow();
  return value;
}

// a / b; 0 / 0 is an overflow, any other quotient by zero a division by zero.
inline double Div(double a, double b) {
  if (b == 0.0) throw a == 0.0 ? RuntimeError::Overflow() : RuntimeError::DivisionByZero();
  return Checked(a / b);
}

inline double Exp(double x) {
  return Checked(std::exp(x));
}

inline double Log(double x) {
  if (!(x > 0.0)) throw RuntimeError::InvalidCall();
  return std::log(x);
}

inline double Sqrt(double x) {
  if (!(x >= 0.0)) throw RuntimeError::InvalidCall();
  return std::sqrt(x);
}

// base ^ exponent; a negative base needs a whole exponent, zero a non-negative one.
inline double Pow(double base, double exponent) {
  if (base < 0.0 && exponent != std::floor(exponent)) throw RuntimeError::InvalidCall();
  if (base == 0.0 && exponent < 0.0) throw RuntimeError::DivisionByZero();
  return Checked(std::pow(base, exponent));
}

// Sign of x: -1, 0 or +1.
inline int Sgn(double x) {
  return (x > 0.0) - (x < 0.0);
}

}  // namespace qalto
