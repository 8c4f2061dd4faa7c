#include "simulation/convolution_weights.h"

#include <algorithm>
#include <cmath>

#include "common/constants.h"
#include "simulation/kernel_exponentials.h"
#include "simulation/scaled_erfc.h"

namespace qalto {
namespace {

constexpr double kTwoOverSqrtPi = 1.1283791670955126;  // 2 / sqrt(pi)
constexpr double kPiExact = 3.14159265358979324;
constexpr double kCutoff = 700.0;  // exponent beyond which exp(-x) is zero to double precision

// Integrals of k(s) and of s k(s) over step m.
struct StepMoments {
  std::vector<double> zeroth;  // s^1/2
  std::vector<double> first;   // s^3/2
};

// Antiderivatives of k and s k for planar diffusion, with or without a first-order loss.
struct PlanarAntiderivative {
  double k = 0;  // 1/s
  double Zeroth(double s) const {
    if (k == 0) return kTwoOverSqrtPi * std::sqrt(s);
    return -std::erfc(std::sqrt(k * s)) / std::sqrt(k);
  }
  double First(double s) const {
    if (k == 0) return kTwoOverSqrtPi * s * std::sqrt(s) / 3.0;
    double x = std::sqrt(k * s);
    return -(0.5 * std::erfc(x) + x * std::exp(-x * x) / kSqrtPiExact) / (k * std::sqrt(k));
  }
};

void PlanarMoments(double k, double dt, StepMoments& w) {
  PlanarAntiderivative g{k};
  double z0 = g.Zeroth(0.0), f0 = g.First(0.0);
  for (std::size_t m = 0; m < w.zeroth.size(); ++m) {
    double s = dt * static_cast<double>(m + 1);
    double z1 = g.Zeroth(s), f1 = g.First(s);
    w.zeroth[m] = z1 - z0;
    w.first[m] = f1 - f0;
    z0 = z1;
    f0 = f1;
  }
}

// The integrals of k(s) and s k(s) over every step, with s = y^2: the integrand 2 y k(y^2) is
// smooth, and 8-point Gauss-Legendre on pieces no wider than a quarter of its length scale
// (scale(y0), 1/s^1/2, at the start of the step) integrates it, and y^2 times it, to double
// precision. Steps beyond the loss's reach (rate k, 1/s) stay 0.
template <class Integrand, class Scale>
void GaussMoments(double dt, double k, const Integrand& integrand, const Scale& scale,
                  StepMoments& w) {
  static constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                       0.9602898564975363};
  static constexpr double kWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                         0.1012285362903763};
  for (std::size_t m = 0; m < w.zeroth.size(); ++m) {
    if (k * dt * static_cast<double>(m) > kCutoff) break;
    double y0 = std::sqrt(dt * static_cast<double>(m));
    double y1 = std::sqrt(dt * static_cast<double>(m + 1));
    int pieces = std::clamp(static_cast<int>(std::ceil(4.0 * scale(y0) * (y1 - y0))), 1, 4000);
    double width = (y1 - y0) / pieces;
    double zeroth = 0.0, first = 0.0;
    for (int p = 0; p < pieces; ++p) {
      double mid = y0 + (p + 0.5) * width;
      for (int q = 0; q < 4; ++q) {
        for (double y : {mid - 0.5 * width * kNodes[q], mid + 0.5 * width * kNodes[q]}) {
          double value = kWeights[q] * integrand(y);
          zeroth += value;
          first += value * y * y;
        }
      }
    }
    w.zeroth[m] = 0.5 * width * zeroth;
    w.first[m] = 0.5 * width * first;
  }
}

// A sphere, with or without a first-order loss:
// 2 y k(y^2) = exp(-k y^2) (2/sqrt(pi) - 2 a y erfcx(a y)).
void SphericalMoments(double k, double a, double dt, StepMoments& w) {
  const double scale = std::max(std::sqrt(k), a);  // 1/s^1/2
  GaussMoments(
      dt, k,
      [&](double y) {
        return std::exp(-k * y * y) * (kTwoOverSqrtPi - 2.0 * a * y * ScaledErfc(a * y));
      },
      [&](double) { return scale; }, w);
}

// 1 + 2 sum_{j >= 1} exp(-j^2 x), x > 0, to double precision.
double ThetaSum(double x) {
  double sum = 1.0;
  for (int j = 1;; ++j) {
    const double term = std::exp(-x * j * j);
    sum += 2.0 * term;
    if (term < 1e-18) return sum;
  }
}

// A layer closed by a wall, with or without a first-order loss: 2 y k(y^2) is
// (2/sqrt(pi)) exp(-k y^2) theta(b^2 / y^2) by the images while y < b, where they converge at
// once, and (2 y / b) exp(-k y^2) theta(pi^2 y^2 / b^2) by the modes beyond. The modes vary on
// the scale b / pi until they have died away.
void ThinLayerMoments(double k, double b, double dt, StepMoments& w) {
  constexpr double kModesGone = 41.5;  // exp(-41.5) < 1e-18
  const double modes = kPiExact / b;   // 1/s^1/2
  GaussMoments(
      dt, k,
      [&](double y) {  // y > 0 at every node
        const double loss = std::exp(-k * y * y);
        if (y < b) return kTwoOverSqrtPi * loss * ThetaSum(b * b / (y * y));
        return 2.0 * y / b * loss * ThetaSum(modes * modes * y * y);
      },
      [&](double y0) {
        const double wall = modes * y0 * modes * y0 < kModesGone ? modes : 0.0;
        return std::max(std::sqrt(k), wall);
      },
      w);
}

StepMoments Moments(const DiffusionKernel& kernel, double dt, int count) {
  std::size_t size = static_cast<std::size_t>(std::max(count, 0));
  StepMoments w{std::vector<double>(size, 0.0), std::vector<double>(size, 0.0)};
  if (kernel.wall > 0) {
    ThinLayerMoments(kernel.rate, kernel.wall, dt, w);
  } else if (kernel.sphere > 0) {
    SphericalMoments(kernel.rate, kernel.sphere, dt, w);
  } else {
    PlanarMoments(kernel.rate, dt, w);
  }
  return w;
}

// Integrals of exp(-x sigma) and of sigma exp(-x sigma) over sigma in [0, 1], x >= 0.
double PlainShare(double x) {
  return x > 0.0 ? -std::expm1(-x) / x : 1.0;
}
double RisingShare(double x) {
  if (x >= 0.5) return (1.0 - std::exp(-x) * (1.0 + x)) / (x * x);
  double sum = 0.0, term = 1.0;  // term = (-x)^k / k!
  for (int k = 0; k < 20; ++k) {
    sum += term / (k + 2);
    term *= -x / (k + 1);
  }
  return sum;
}

enum class Rule { kStep, kHat };

// The weights from m = e = weights.w.size() on through the kernel's exponentials, which must hold
// from the earliest time the weight of step e reaches to the end of the grid. An exponential
// rho exp(-mu s) gives on step m the integral rho dt r^m PlainShare and the share of the step's
// end rising linearly over it rho dt r^m RisingShare (r = exp(-mu dt)).
void AddTail(const DiffusionKernel& kernel, double dt, int count, Rule rule, KernelWeights& out) {
  const int e = static_cast<int>(out.w.size());
  if (count <= e || e < 2) return;
  const double earliest = dt * (rule == Rule::kHat ? e - 1 : e);  // s
  const KernelExponentials sum =
      kernel.wall > 0 ? ThinLayerModes(kernel.rate, kernel.wall, earliest)
                      : ApproximateKernel(kernel.rate, kernel.sphere, earliest, dt * (count + 1));
  for (std::size_t l = 0; l < sum.decay.size(); ++l) {
    const double x = sum.decay[l] * dt;
    const double r = std::exp(-x);
    const double re = std::exp(-x * e);  // r^e without overflow of 1/r
    const double scale = sum.weight[l] * dt;
    const double plain = PlainShare(x), rising = RisingShare(x);
    out.ratio.push_back(r);
    if (rule == Rule::kStep) {
      out.amplitude.push_back(scale * plain * re);
      out.startAmplitude.push_back(0.0);
    } else {  // W(m) = right share of step m + left share of step m - 1; S(m) = left share of m
      out.amplitude.push_back(scale * ((plain - rising) * re + rising * std::exp(-x * (e - 1))));
      out.startAmplitude.push_back(scale * rising * re);
    }
  }
}

double GeometricSum(const std::vector<double>& amplitude, const std::vector<double>& ratio,
                    int power) {
  double sum = 0.0;
  for (std::size_t l = 0; l < amplitude.size(); ++l)
    sum += amplitude[l] * std::pow(ratio[l], power);
  return sum;
}

std::vector<double> Combined(double p, const std::vector<double>& a, double q,
                             const std::vector<double>& b) {
  std::vector<double> out(a.size());
  for (std::size_t m = 0; m < a.size(); ++m)
    out[m] = p * a[m] + q * b[m];
  return out;
}

std::vector<double> Joined(std::vector<double> a, double p, const std::vector<double>& b,
                           double q) {
  for (double& x : a)
    x *= p;
  for (double x : b)
    a.push_back(q * x);
  return a;
}

}  // namespace

double KernelWeights::Weight(int m) const {
  const int e = static_cast<int>(w.size());
  if (m < e) return w[static_cast<std::size_t>(m)];
  return GeometricSum(amplitude, ratio, m - e);
}

double KernelWeights::Start(int m) const {
  const int e = static_cast<int>(start.size());
  if (m < e) return start[static_cast<std::size_t>(m)];
  return GeometricSum(startAmplitude, ratio, m - e);
}

KernelWeights KernelStepIntegrals(const DiffusionKernel& kernel, double dt, int count, int exact) {
  StepMoments k = Moments(kernel, dt, std::min(count, exact));
  KernelWeights weights;
  weights.w = k.zeroth;
  weights.start.assign(k.zeroth.size(), 0.0);
  AddTail(kernel, dt, count, Rule::kStep, weights);
  return weights;
}

KernelWeights KernelHatWeights(const DiffusionKernel& kernel, double dt, int count, int exact) {
  // On step m the flux of point n - m rises from 0 and that of point n - m - 1 falls to 0:
  // right share (m + 1) K0 - K1 / dt, left share K1 / dt - m K0; the left share of the first
  // step (m = n) belongs to t = 0.
  StepMoments k = Moments(kernel, dt, std::min(count, exact));
  KernelWeights weights;
  weights.w.assign(k.zeroth.size(), 0.0);
  weights.start.assign(k.zeroth.size(), 0.0);
  for (std::size_t m = 0; m < k.zeroth.size(); ++m) {
    double right = static_cast<double>(m + 1) * k.zeroth[m] - k.first[m] / dt;
    double left = k.first[m] / dt - static_cast<double>(m) * k.zeroth[m];
    weights.w[m] += right;
    if (m + 1 < weights.w.size()) weights.w[m + 1] += left;
    weights.start[m] = left;
  }
  AddTail(kernel, dt, count, Rule::kHat, weights);
  return weights;
}

KernelWeights CombineWeights(double p, const KernelWeights& first, double q,
                             const KernelWeights& second) {
  KernelWeights out;
  out.w = Combined(p, first.w, q, second.w);
  out.start = Combined(p, first.start, q, second.start);
  out.ratio = Joined(first.ratio, 1.0, second.ratio, 1.0);
  out.amplitude = Joined(first.amplitude, p, second.amplitude, q);
  out.startAmplitude = Joined(first.startAmplitude, p, second.startAmplitude, q);
  return out;
}

}  // namespace qalto
