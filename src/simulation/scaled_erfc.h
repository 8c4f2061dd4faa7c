#pragma once
// The scaled complementary error function W(x) = exp(x^2) erfc(x), which carries every
// chronoamperometric response with finite electron-transfer rate, and erf(x) built on it.

namespace qalto {

// W(x) = exp(x^2) erfc(x) by a continued fraction for |x| >= 1.5 and the Taylor series of erf
// below. A non-positive x on the continued-fraction branch is replaced by -x (the caller's
// variable changes) and the reflection W(-x) = 2 exp(x^2) - W(x) is returned.
double ScaledErfc(double& x);

// erf(x) = 1 - W(x) / exp(x^2).
double CatalyticFactor(double x);

}  // namespace qalto
