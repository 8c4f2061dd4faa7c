#include "simulation/marcus_hush_rate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "simulation/scaled_erfc.h"

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
constexpr int kPoints = kPanels * 8;

// The quadrature's points y and weights times 1/(1 + e^y), the same for every L and m.
struct FermiQuadrature {
  std::array<double, kPoints> y{};
  std::array<double, kPoints> weight{};
};

const FermiQuadrature& Quadrature() {
  static const FermiQuadrature q = [] {
    FermiQuadrature f;
    std::size_t at = 0;
    for (int p = 0; p < kPanels; ++p) {
      const double middle = (p + 0.5) * kPanel;
      for (std::size_t i = 0; i < kNodes.size(); ++i) {
        for (double y : {middle - 0.5 * kPanel * kNodes[i], middle + 0.5 * kPanel * kNodes[i]}) {
          f.y[at] = y;
          f.weight[at] = 0.5 * kPanel * kWeights[i] / (1.0 + std::exp(y));
          ++at;
        }
      }
    }
    return f;
  }();
  return q;
}

// ln of the integral of exp(-(y - m)^2 / (4L)) over y > 0: ln(sqrt(pi L) erfc(z)),
// z = -m/(2 sqrt L).
double LogHalfGaussian(double L, double m) {
  const double z = -m / (2.0 * std::sqrt(L));
  const double lead = 0.5 * std::log(kPiExact * L);
  // erfc itself to 1e-290 (z = 26), its scaled form beyond.
  if (z < 26.0) return lead + std::log(std::erfc(z));
  return lead + std::log(ScaledErfc(z)) - z * z;
}

// J(m) = integral over y > 0 of exp(-(y - m)^2 / (4L)) / (1 + e^-y) is the half Gaussian H
// less K(m) = integral of exp(-(y - m)^2 / (4L)) / (1 + e^y), which is at most half of it;
// H'(m) = exp(-m^2 / (4L)), K' the same quadrature weighted by (y - m) / (2L). From ln H, K / H
// and K' / H: ln J and J' / J.
MarcusHushLog FromShares(double L, double m, double logHalf, double kShare, double kSlopeShare) {
  const double halfSlope = std::exp(-m * m / (4.0 * L) - logHalf);  // H' / H
  return {logHalf + std::log1p(-kShare), (halfSlope - kSlopeShare) / (1.0 - kShare)};
}

// Beyond this slope c = m / (2L) of the Gaussian's logarithm across [0, kReach] its factors
// e^(c y) leave the number range: each point's exponential is taken itself.
constexpr double kSteepest = 20.0;

// Cubic Hermite interpolation, at t in [0, 1] of a cell of width h, of the value and slope
// given at both ends. Within h^4 / 384 x |f''''| of the function.
MarcusHushLog Hermite(const MarcusHushLog& a, const MarcusHushLog& b, double t, double h) {
  const double change = b.value - a.value;
  const double c2 = 3.0 * change - h * (2.0 * a.slope + b.slope);
  const double c3 = -2.0 * change + h * (a.slope + b.slope);
  return {a.value + t * (h * a.slope + t * (c2 + t * c3)),
          (h * a.slope + t * (2.0 * c2 + 3.0 * t * c3)) / h};
}

// Past |eta| = 4000 (100 V at 25 C for one electron) the integral itself, without nodes.
constexpr double kTableReach = 4000.0;

// Node spacing from the bound of the interpolation, h^4 / 384 x |d^4 ln I / d eta^4| at most
// 5e-7. The fourth derivative is the fourth cumulant of the Fermi-weighted Gaussian over
// (2L)^4: at most 0.047 / L^2 over 0.1 to 50 eV at 0 to 100 C (taken as 0.052 / L^2), and where
// the Fermi edge alone shapes it (small L) the logistic's 13.2 / (2L)^4 = 0.82 / L^4.
double SpacingFromBound(double L) {
  constexpr double kError = 5e-7;
  return std::min(std::pow(384.0 * kError * L * L / 0.052, 0.25),
                  std::pow(384.0 * kError * std::pow(L, 4) / 0.82, 0.25));
}

}  // namespace

// The Gaussian at the points, exp(-(y - m)^2 / (4L)) = exp(-y^2 / (4L)) e^(c y) e^(-m^2 / (4L)):
// the first factor is the same for every m, and e^(c y) at the points is a product of one
// exponential per panel, stepped from the end where it is largest, and one per node offset.
FermiGaussian::FermiGaussian(double L) : L_(L) {
  static_assert(kPoints == kPanels * 8);
  const FermiQuadrature& q = Quadrature();
  for (int i = 0; i < kPoints; ++i)
    fixed_[i] = q.weight[i] * std::exp(-q.y[i] * q.y[i] / (4.0 * L));
}

MarcusHushLog FermiGaussian::LogJ(double m) const {
  const double c = m / (2.0 * L_);
  if (std::fabs(c) > kSteepest) return SteepLogJ(m);
  const FermiQuadrature& q = Quadrature();
  const bool rising = c > 0;
  const double end = rising ? kReach : 0.0;  // where e^(c y) is largest
  std::array<double, kNodes.size()> up{}, down{};
  for (std::size_t j = 0; j < kNodes.size(); ++j) {
    up[j] = std::exp(c * 0.5 * kPanel * kNodes[j]);
    down[j] = 1.0 / up[j];
  }
  const double stride = std::exp(-std::fabs(c) * kPanel);
  double panel = std::exp(c * ((rising ? kPanels - 0.5 : 0.5) * kPanel - end));
  double k = 0.0, kSlope = 0.0;  // K and K' over exp(c end - m^2 / (4L)), the latter x 2L
  // Each point's share is below panel x highest; the panels beyond one whose points all lie
  // below 1e-17 of K hold less still.
  const double highest = std::max(up.back(), down.back());
  for (int j = 0; j < kPanels; ++j, panel *= stride) {
    if (8.0 * kPanels * panel * highest < 1e-17 * k) break;
    const int first = 8 * (rising ? kPanels - 1 - j : j);
    for (std::size_t n = 0; n < kNodes.size(); ++n) {
      const int at = first + 2 * static_cast<int>(n);
      const double below = fixed_[at] * panel * down[n];
      const double above = fixed_[at + 1] * panel * up[n];
      k += below + above;
      kSlope += below * (q.y[at] - m) + above * (q.y[at + 1] - m);
    }
  }
  const double logHalf = LogHalfGaussian(L_, m);
  // K / H is at most 1/2 and k above 1e-40 (the points nearest the end weigh e^-90 at least).
  const double kShare = k * std::exp(c * end - m * m / (4.0 * L_) - logHalf);
  return FromShares(L_, m, logHalf, kShare, kShare * kSlope / (2.0 * L_ * k));
}

MarcusHushLog FermiGaussian::SteepLogJ(double m) const {
  const FermiQuadrature& q = Quadrature();
  const double closest = std::clamp(m, 0.0, kReach) - m;  // where the Gaussian is highest
  const double top = -closest * closest / (4.0 * L_);
  double k = 0.0, kSlope = 0.0;  // K and K' x 2L over e^top
  for (int i = 0; i < kPoints; ++i) {
    const double d = q.y[i] - m;
    const double term = q.weight[i] * std::exp(-d * d / (4.0 * L_) - top);
    k += term;
    kSlope += term * d;
  }
  const double logHalf = LogHalfGaussian(L_, m);
  const double scale = std::exp(top - logHalf);  // e^top / H
  return FromShares(L_, m, logHalf, k * scale, kSlope * scale / (2.0 * L_));
}

// The integral split at the Fermi level: below it the occupied states are 1/(1 + e^x), above it
// e^-x/(1 + e^-x), whose e^-x shifts the Gaussian by 2L and scales it by e^-eta:
// I = J(-L - eta) + e^-eta J(eta - L), I' = -J'(-L - eta) + e^-eta (J'(eta - L) - J(eta - L)).
MarcusHushLog FermiGaussian::LogIntegral(double eta) const {
  const MarcusHushLog below = LogJ(-L_ - eta);
  const MarcusHushLog above = LogJ(eta - L_);
  const double a = below.value;
  const double b = -eta + above.value;
  const double q = std::exp(-std::fabs(a - b));  // the smaller term over the larger
  const double shareBelow = a >= b ? 1.0 / (1.0 + q) : q / (1.0 + q);
  const double shareAbove = 1.0 - shareBelow;
  return {std::max(a, b) + std::log1p(q),
          -below.slope * shareBelow + (above.slope - 1.0) * shareAbove};
}

MarcusHushLog LogMarcusHushIntegral(double L, double eta) {
  return FermiGaussian(L).LogIntegral(eta);
}

MarcusHushRate::MarcusHushRate(double L)
    : L_(L),
      quadrature_(L),
      atZero_(quadrature_.LogIntegral(0.0).value),
      step_(SpacingFromBound(L)),
      reach_(static_cast<long>(kTableReach / step_)) {}

MarcusHushLog MarcusHushRate::Reduction(double eta) const {
  const double u = eta / step_;
  if (!(std::fabs(u) < static_cast<double>(reach_))) {
    MarcusHushLog direct = quadrature_.LogIntegral(eta);
    direct.value -= atZero_;
    return direct;
  }
  const double cell = std::floor(u);
  const long k = static_cast<long>(cell);
  const long at = k - first_;  // both nodes already there: no growth, no computing
  if (at >= 0 && at + 1 < static_cast<long>(nodes_.size())) {
    const MarcusHushLog& a = nodes_[static_cast<std::size_t>(at)];
    const MarcusHushLog& b = nodes_[static_cast<std::size_t>(at + 1)];
    if (!std::isnan(a.value) && !std::isnan(b.value)) return Hermite(a, b, u - cell, step_);
  }
  return Hermite(Node(k), Node(k + 1), u - cell, step_);
}

// Node k at eta = k h, computed the first time it is asked for; the store grows by at least its
// own size so that a sweep reaching ever further costs few moves.
MarcusHushLog MarcusHushRate::Node(long k) const {
  const MarcusHushLog unset{std::numeric_limits<double>::quiet_NaN(), 0.0};
  const long size = static_cast<long>(nodes_.size());
  if (size == 0) {
    first_ = k;
    nodes_.assign(1, unset);
  } else if (k < first_) {
    const long grow = std::min(std::max(first_ - k, size), first_ + reach_);
    nodes_.insert(nodes_.begin(), static_cast<std::size_t>(grow), unset);
    first_ -= grow;
  } else if (k >= first_ + size) {
    const long grow = std::min(std::max(k - first_ - size + 1, size), reach_ + 1 - first_ - size);
    nodes_.resize(static_cast<std::size_t>(size + grow), unset);
  }
  MarcusHushLog& node = nodes_[static_cast<std::size_t>(k - first_)];
  if (std::isnan(node.value)) {
    node = quadrature_.LogIntegral(static_cast<double>(k) * step_);
    node.value -= atZero_;
  }
  return node;
}

// The Chemicals form holds lambda to 0.1 to 50 eV; a fit's central differences step a little
// past the bounds it was given, which the rate computes as well as any other positive energy.
double MarcusHushReorganisation(const Model& model, int r) {
  const double lambda = model.ChargeLambda(r);  // eV
  if (lambda == 0) return 0.0;
  if (!(lambda > 0 && std::isfinite(lambda))) {
    throw RuntimeError("Invalid procedure call or argument: λ (eV) of reaction " +
                       std::to_string(r) + " is " + PlainNumber(lambda) +
                       ", not a positive energy");
  }
  return lambda * model.FOverRT;  // an electron's energy over kT: lambda (eV) x F/RT
}

bool HasMarcusHush(const Model& model) {
  for (int r = 1; r <= model.ChargeReactionCount && r < model.ChargeLambda.Size(); ++r)
    if (model.ChargeLambda(r) != 0) return true;
  return false;
}

}  // namespace qalto
