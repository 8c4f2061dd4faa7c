#pragma once
// The discrete Fourier transform of a complex series of any length, written here: radix-2
// Cooley-Tukey for powers of two, Bluestein's chirp-z transform (three radix-2 transforms of
// twice the length or more) for the others. Forward X(k) = sum x(n) e^(-2 pi i k n / N); the
// inverse has the + sign and divides by N.

#include <complex>
#include <vector>

namespace qalto {

void FourierTransform(std::vector<std::complex<double>>& data);
void InverseFourierTransform(std::vector<std::complex<double>>& data);

}  // namespace qalto
