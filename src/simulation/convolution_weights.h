#pragma once
// Weights of the diffusion kernels that turn a current history into surface concentrations:
// the concentration change at the surface at t_n is sum_m w[m] x flux(t_{n-m}) / sqrt(D).

#include <vector>

namespace qalto {

// k(s) = exp(-rate s) x (1/sqrt(pi s) - a exp(a^2 s) erfc(a sqrt(s))): plain planar diffusion
// (rate 0, a 0), a sphere of radius r0 (a = sqrt(D) / r0) and a first-order homogeneous loss of
// the species (rate k), alone or together. A layer closed by a wall at L (b = L / sqrt(D)) has
// k(s) = exp(-rate s) (1 + 2 sum_m exp(-m^2 b^2 / s)) / sqrt(pi s), its images in the wall, or
// the same as exp(-rate s) (1 + 2 sum_n exp(-n^2 pi^2 s / b^2)) / b, its modes.
struct DiffusionKernel {
  double rate = 0;    // first-order rate constant of the kinetic kernel, 1/s
  double sphere = 0;  // a = sqrt(D) / r0, 1/s^1/2
  double wall = 0;    // b = L / sqrt(D), s^1/2; 0: no wall

  bool operator==(const DiffusionKernel&) const = default;
};

// The weights of one kernel: at point n (0-based) the surface change is
// sum_{m=0..n} W(m) flux[n-m] + S(n) flux[0], over sqrt(D), S being the weight of the flux at
// t = 0, taken as that of the first point. The first weights are kept exactly (W(m) = w[m],
// S(m) = start[m]); beyond them, from e = w.size() on, both are sums of geometric sequences,
// W(m) = sum_l amplitude[l] ratio[l]^(m - e), S(m) = sum_l startAmplitude[l] ratio[l]^(m - e),
// within a relative 2e-8 (kernel_exponentials.h), so that a history sum costs O(1) per point.
struct KernelWeights {
  std::vector<double> w;               // s^1/2
  std::vector<double> start;           // s^1/2
  std::vector<double> ratio;           // exp(-decay dt) of each exponential
  std::vector<double> amplitude;       // s^1/2
  std::vector<double> startAmplitude;  // s^1/2

  double Weight(int m) const;  // W(m), s^1/2
  double Start(int m) const;   // S(m), s^1/2
  bool operator==(const KernelWeights&) const = default;
};

// Weights kept exactly unless asked for more: enough that the exponentials need not reach the
// kernels' singularity at s = 0.
inline constexpr int kExactWeights = 16;

// The flux constant over each step (t_{j-1}, t_j]: W(m) is the integral of k(s) over
// [m dt, (m + 1) dt], m = 0..count-1, S all 0. Suits waveforms with potential jumps.
KernelWeights KernelStepIntegrals(const DiffusionKernel& kernel, double dt, int count,
                                  int exact = kExactWeights);

// The flux linear between the points (product trapezoidal rule, second order for smooth
// currents), constant over the first step so that a start out of equilibrium stays smooth.
// Suits sweeps, where the step rule lags the current by half a step.
KernelWeights KernelHatWeights(const DiffusionKernel& kernel, double dt, int count,
                               int exact = kExactWeights);

// p x first + q x second, term by term (both on the same grid).
KernelWeights CombineWeights(double p, const KernelWeights& first, double q,
                             const KernelWeights& second);

}  // namespace qalto
