#include "simulation/implicit_drop.h"

#include <algorithm>
#include <cmath>

namespace qalto {
namespace {

constexpr double kTolerance = 1e-9;  // V, and relative to the drop
constexpr int kIterations = 60;

}  // namespace

double ImplicitDrop(const std::function<double(double)>& current, double resistance, double guess) {
  auto residual = [&](double d) { return d - resistance * current(d); };  // V
  double lo = -HUGE_VAL, hi = HUGE_VAL;                                   // bracket of the root, V
  double a = guess, ga = residual(a);
  double b = resistance * current(a);  // the drop the guess's current makes, V
  for (int it = 0; it < kIterations && ga != 0; ++it) {
    if (ga > 0) hi = std::min(hi, a);
    if (ga < 0) lo = std::max(lo, a);
    double gb = residual(b);
    if (gb > 0) hi = std::min(hi, b);
    if (gb < 0) lo = std::max(lo, b);
    if (gb == 0 || std::fabs(b - a) <= kTolerance * (1 + std::fabs(b))) {
      a = b;
      break;
    }
    double next = gb != ga ? b - gb * (b - a) / (gb - ga) : 0.5 * (lo + hi);
    if (!(next > lo && next < hi) && std::isfinite(lo) && std::isfinite(hi)) next = 0.5 * (lo + hi);
    a = b;
    ga = gb;
    b = next;
  }
  current(a);
  return a;
}

}  // namespace qalto
