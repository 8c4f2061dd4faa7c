#pragma once
// The diffusion kernels as sums of decaying exponentials. Every kernel of the convolution is
// completely monotone:
//   exp(-rate s) (1/sqrt(pi s) - a erfcx(a sqrt(s))) = integral over lambda >= 0 of
//   rho(lambda) exp(-(lambda + rate) s),  rho(lambda) = sqrt(lambda) / (pi (lambda + a^2)),
// (the Laplace transform of the sphere's kernel is 1/(sqrt(p) + a)), so a quadrature of that
// integral gives exponentials with positive weights whose sum is accurate relative to the
// kernel itself at every time of a chosen range, however small the kernel has become.

#include <vector>

namespace qalto {

struct KernelExponentials {
  std::vector<double> decay;   // lambda + rate, 1/s
  std::vector<double> weight;  // rho(lambda) d lambda of the quadrature, 1/s^1/2
};

// Exponentials whose sum matches the kernel (rate 1/s, sphere a 1/s^1/2) within a relative
// 2e-8 for every time s in [earliest, latest] (s, 0 < earliest < latest).
KernelExponentials ApproximateKernel(double rate, double sphere, double earliest, double latest);

// The modes of a layer closed by a wall (b = L / sqrt(D), s^1/2), exactly: decay
// rate + n^2 pi^2 / b^2 and weight 1/b (n = 0) or 2/b, every mode that has not died away below
// 1e-18 of its weight by the time earliest (s).
KernelExponentials ThinLayerModes(double rate, double wall, double earliest);

}  // namespace qalto
