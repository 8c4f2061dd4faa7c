#pragma once
// Weights of the diffusion kernels that turn a current history into surface concentrations:
// the concentration change at the surface at t_n is sum_m w[m] x flux(t_{n-m}) / sqrt(D).

#include <vector>

namespace qalto {

// k(s) = exp(-rate s) x (1/sqrt(pi s) - a exp(a^2 s) erfc(a sqrt(s))): plain planar diffusion
// (rate 0, a 0), a sphere of radius r0 (a = sqrt(D) / r0) and a first-order homogeneous loss of
// the species (rate k), alone or together.
struct DiffusionKernel {
  double rate = 0;    // first-order rate constant of the kinetic kernel, 1/s
  double sphere = 0;  // a = sqrt(D) / r0, 1/s^1/2

  bool operator==(const DiffusionKernel&) const = default;
};

// The weights of one kernel: at point n (0-based) the surface change is
// sum_{m=0..n} w[m] flux[n-m] + start[n] flux[0], over sqrt(D).
struct KernelWeights {
  std::vector<double> w;  // s^1/2
  std::vector<double>
      start;  // weight of the flux at t = 0, taken as that of the first point, s^1/2

  bool operator==(const KernelWeights&) const = default;
};

// The flux constant over each step (t_{j-1}, t_j]: w[m] is the integral of k(s) over
// [m dt, (m + 1) dt], m = 0..count-1, start all 0. Suits waveforms with potential jumps.
KernelWeights KernelStepIntegrals(const DiffusionKernel& kernel, double dt, int count);

// The flux linear between the points (product trapezoidal rule, second order for smooth
// currents), constant over the first step so that a start out of equilibrium stays smooth.
// Suits sweeps, where the step rule lags the current by half a step.
KernelWeights KernelHatWeights(const DiffusionKernel& kernel, double dt, int count);

// exp(x^2) erfc(x) for x >= 0, accurate to a few units of the last digit for every x.
double Erfcx(double x);

}  // namespace qalto
