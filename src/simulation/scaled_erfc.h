#pragma once
// The scaled complementary error function W(x) = exp(x^2) erfc(x), which carries every
// current with a finite electron-transfer rate under diffusion and the spherical kernel.

namespace qalto {

// exp(x^2) erfc(x), accurate to a few units of the last digit for every x >= 0; below 0 the
// product itself, which overflows to infinity from x < -26.6.
double ScaledErfc(double x);

}  // namespace qalto
