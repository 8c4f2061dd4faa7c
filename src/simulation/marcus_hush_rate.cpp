#include "simulation/marcus_hush_rate.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "simulation/convolution_weights.h"

namespace qalto {
namespace {

constexpr double kPiExact = 3.14159265358979323846;

// 8-point Gauss-Legendre on [-1, 1].
constexpr std::array<double, 4> kNodes = {0.1834346424956498, 0.5255324099163290,
                                          0.7966664774136267, 0.9602898564975363};
constexpr std::array<double, 4> kWeights = {0.3626837833783620, 0.3137066458778873,
                                            0.2223810344533745, 0.1012285362903763};
// K below is taken over [0, kReach] in panels of kPanel: 1/(1 + e^y) has its poles pi from the
// real axis, so that 8 points on a panel of 2 integrate it to 1e-13, and what lies beyond
// kReach is below e^-kReach of J.
constexpr double kPanel = 2.0;
constexpr int kPanels = 12;
constexpr double kReach = kPanel * kPanels;

// ln(e^a + e^b) without overflow.
double LogSum(double a, double b) {
  const double high = std::max(a, b);
  return high + std::log1p(std::exp(std::min(a, b) - high));
}

// ln of the integral of exp(-(y - m)^2 / (4L)) over y > 0: ln(sqrt(pi L) erfc(z)), z = -m/(2 sqrt
// L).
double LogHalfGaussian(double L, double m) {
  const double z = -m / (2.0 * std::sqrt(L));
  const double lead = 0.5 * std::log(kPiExact * L);
  if (z >= 0.0) return lead + std::log(Erfcx(z)) - z * z;
  return lead + std::log(std::erfc(z));
}

// ln J(m), J(m) = integral over y > 0 of exp(-(y - m)^2 / (4L)) / (1 + e^-y): the half Gaussian
// less K(m) = integral of exp(-(y - m)^2 / (4L)) / (1 + e^y), which is at most half of it.
double LogJ(double L, double m) {
  std::array<double, kPanels * 8> exponent{};
  double highest = -INFINITY;
  std::size_t at = 0;
  for (int p = 0; p < kPanels; ++p) {
    const double middle = (p + 0.5) * kPanel;
    for (std::size_t q = 0; q < kNodes.size(); ++q) {
      for (double y : {middle - 0.5 * kPanel * kNodes[q], middle + 0.5 * kPanel * kNodes[q]}) {
        const double d = y - m;
        exponent[at] = -d * d / (4.0 * L) - (y + std::log1p(std::exp(-y)));
        highest = std::max(highest, exponent[at]);
        ++at;
      }
    }
  }
  double sum = 0.0;
  at = 0;
  for (int p = 0; p < kPanels; ++p) {
    for (std::size_t q = 0; q < kNodes.size(); ++q) {
      sum +=
          kWeights[q] * (std::exp(exponent[at] - highest) + std::exp(exponent[at + 1] - highest));
      at += 2;
    }
  }
  const double logK = highest + std::log(0.5 * kPanel * sum);
  const double logHalf = LogHalfGaussian(L, m);
  return logHalf + std::log1p(-std::exp(logK - logHalf));
}

}  // namespace

// The integral split at the Fermi level: below it the occupied states are 1/(1 + e^x), above it
// e^-x/(1 + e^-x), whose e^-x shifts the Gaussian by 2L and scales it by e^-eta:
// I = J(-L - eta) + e^-eta J(eta - L).
double LogMarcusHushIntegral(double L, double eta) {
  return LogSum(LogJ(L, -L - eta), -eta + LogJ(L, eta - L));
}

MarcusHushRate::MarcusHushRate(double L) : L_(L), atZero_(LogMarcusHushIntegral(L, 0.0)) {}

double MarcusHushReorganisation(const Model& model, int r) {
  const double lambda = model.ChargeLambda(r);  // eV
  if (lambda == 0) return 0.0;
  if (!(lambda >= 0.1 && lambda <= 50.0)) {
    throw RuntimeError("Invalid procedure call or argument: λ (eV) of reaction " +
                       std::to_string(r) + " is " + PlainNumber(lambda) + ", beyond 0.1 to 50 eV");
  }
  return lambda * model.FOverRT;  // an electron's energy over kT: lambda (eV) x F/RT
}

bool HasMarcusHush(const Model& model) {
  for (int r = 1; r <= model.ChargeReactionCount && r < model.ChargeLambda.Size(); ++r)
    if (model.ChargeLambda(r) != 0) return true;
  return false;
}

}  // namespace qalto
