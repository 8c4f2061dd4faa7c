#include "simulation/kernel_exponentials.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qalto {
namespace {

constexpr double kPiExact = 3.14159265358979324;

// Gauss-Legendre rule of n points on [-1, 1] by Newton's iteration on the Legendre polynomial.
template <int n>
struct GaussLegendre {
  std::array<double, n> node{};
  std::array<double, n> weight{};
  GaussLegendre() {
    for (int i = 0; i < n; ++i) {
      double z = std::cos(kPiExact * (i + 0.75) / (n + 0.5));
      double derivative = 1.0;
      for (int iteration = 0; iteration < 100; ++iteration) {
        double p0 = 1.0, p1 = z;
        for (int k = 2; k <= n; ++k) {
          const double p2 = ((2 * k - 1) * z * p1 - (k - 1) * p0) / k;
          p0 = p1;
          p1 = p2;
        }
        derivative = n * (z * p1 - p0) / (z * z - 1.0);
        const double step = p1 / derivative;
        z -= step;
        if (std::fabs(step) < 1e-16) break;
      }
      node[static_cast<std::size_t>(i)] = z;
      weight[static_cast<std::size_t>(i)] = 2.0 / ((1.0 - z * z) * derivative * derivative);
    }
  }
};

// The quadrature: lambda below 1/latest (where exp(-lambda s) hardly varies) in the variable
// sqrt(lambda), which removes the planar kernel's lambda^-1/2; above it in ln(lambda), panels of
// 2.5 units, up to lambda = 40 / earliest (exp(-40) is beyond the double's reach). 10 points on
// each piece keep the sum within 1e-8 of the kernel for planes and spheres of every radius.
constexpr int kPoints = 10;
constexpr double kPanelWidth = 2.5;  // in ln(lambda)
constexpr double kLowest = 1.0;      // lambda x latest at the top of the lowest piece
constexpr double kHighest = 40.0;    // lambda x earliest at the top of the last panel

const GaussLegendre<kPoints>& Rule() {
  static const GaussLegendre<kPoints> rule;
  return rule;
}

}  // namespace

KernelExponentials ApproximateKernel(double rate, double sphere, double earliest, double latest) {
  const GaussLegendre<kPoints>& rule = Rule();
  const double a2 = sphere * sphere;  // 1/s
  // At a sphere the lowest piece also stays below a^2 / 4, where rho is smooth in sqrt(lambda).
  double low = kLowest / latest;
  if (a2 > 0.0) low = std::min(low, 0.25 * a2);
  const double high = std::max(kHighest / earliest, 2.0 * low);
  auto rho = [&](double lambda) { return std::sqrt(lambda) / (kPiExact * (lambda + a2)); };

  KernelExponentials sum;
  const double top = std::sqrt(low);
  for (int i = 0; i < kPoints; ++i) {  // lambda = v^2, d lambda = 2 v dv
    const double v = 0.5 * top * (1.0 + rule.node[static_cast<std::size_t>(i)]);
    const double lambda = v * v;
    sum.decay.push_back(lambda + rate);
    sum.weight.push_back(0.5 * top * rule.weight[static_cast<std::size_t>(i)] * rho(lambda) * 2 *
                         v);
  }
  const double from = std::log(low);
  const int panels =
      std::max(1, static_cast<int>(std::ceil((std::log(high) - from) / kPanelWidth)));
  const double width = (std::log(high) - from) / panels;
  for (int p = 0; p < panels; ++p) {
    for (int i = 0; i < kPoints; ++i) {  // lambda = e^x, d lambda = lambda dx
      const double x = from + width * (p + 0.5 * (1.0 + rule.node[static_cast<std::size_t>(i)]));
      const double lambda = std::exp(x);
      sum.decay.push_back(lambda + rate);
      sum.weight.push_back(0.5 * width * rule.weight[static_cast<std::size_t>(i)] * rho(lambda) *
                           lambda);
    }
  }
  return sum;
}

KernelExponentials ThinLayerModes(double rate, double wall, double earliest) {
  constexpr double kModesGone = 41.5;  // exp(-41.5) < 1e-18
  KernelExponentials sum;
  const double mode = kPiExact / wall;  // 1/s^1/2
  for (int n = 0; n == 0 || mode * n * mode * n * earliest < kModesGone; ++n) {
    sum.decay.push_back(rate + mode * n * mode * n);
    sum.weight.push_back((n == 0 ? 1.0 : 2.0) / wall);
  }
  return sum;
}

}  // namespace qalto
