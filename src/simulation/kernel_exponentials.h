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

}  // namespace qalto
