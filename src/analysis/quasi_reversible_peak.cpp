#include "analysis/quasi_reversible_peak.h"

#include <cmath>
#include <vector>

#include "common/checked_math.h"
#include "common/constants.h"
#include "model/experiment_table.h"
#include "simulation/convolution_solver.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {
namespace {

constexpr int kMaxHalfCycle = 2500;  // points per half cycle; longer sweeps take coarser steps

struct Curve {
  std::vector<double> E;  // V
  std::vector<double> I;  // A
};

// Extreme of sign x I over points first..last (end excluded) with the parabola through it and its
// neighbours; the half-peak potential on the side the sweep comes from.
void FindPeak(const Curve& c, int first, int last, int sign, std::optional<double>& E,
              std::optional<double>& I, std::optional<double>* width) {
  int best = first;
  for (int i = first; i < last; ++i)
    if (sign * c.I[static_cast<std::size_t>(i)] > sign * c.I[static_cast<std::size_t>(best)])
      best = i;
  if (best == first || best == last - 1 || sign * c.I[static_cast<std::size_t>(best)] <= 0) return;
  auto at = [&](const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; };
  double y0 = at(c.I, best - 1), y1 = at(c.I, best), y2 = at(c.I, best + 1);
  double d = 0.5 * (y0 - y2) / (y0 - 2 * y1 + y2);  // offset of the vertex, in points
  E = at(c.E, best) + d * (at(c.E, best + 1) - at(c.E, best));
  I = y1 - 0.25 * (y0 - y2) * d;
  if (width == nullptr) return;
  for (int i = best; i > first; --i) {
    double a = at(c.I, i - 1), b = at(c.I, i);
    if (sign * a <= sign * *I / 2 && sign * b > sign * *I / 2) {
      double half = at(c.E, i - 1) + (*I / 2 - a) / (b - a) * (at(c.E, i) - at(c.E, i - 1));
      *width = std::fabs(*E - half);
      return;
    }
  }
}

}  // namespace

std::optional<QuasiReversiblePeaks> QuasiReversibleCycle(const Model& model, int r) {
  if (RowOf(model.Electrode).kernel == KernelShape::kNone) return std::nullopt;
  const int ox = model.ChargeReactionSpecies(r, 1);
  const int red = model.ChargeReactionSpecies(r, 2);
  const double span = std::fabs(model.EndPotential - model.StartPotential);  // V
  double step = std::fabs(model.PotentialStep);                              // V
  if (!(span > 0) || !(step > 0) || !(model.ScanRate > 0)) return std::nullopt;
  if (!(model.ChargeReactionStoich(r, 1) > 0 && model.ChargeReactionStoich(r, 2) > 0))
    return std::nullopt;
  int half = static_cast<int>(std::lround(span / step)) + 1;
  if (half > kMaxHalfCycle) {
    half = kMaxHalfCycle;
    step = span / (half - 1);
  }
  const int direction = model.EndPotential > model.StartPotential ? 1 : -1;
  Curve c;
  for (int i = 0; i < half; ++i)
    c.E.push_back(model.StartPotential + direction * step * i);
  for (int i = half - 1; i >= 0; --i)
    c.E.push_back(c.E[static_cast<std::size_t>(i)]);

  ConvolutionProblem problem;
  problem.fOverRT = model.FOverRT;
  problem.AF = model.ElectrodeArea * kFaraday * 0.001;
  const double dt = step / model.ScanRate;  // s
  const int N = static_cast<int>(c.E.size());
  for (int s : {ox, red}) {
    DiffusionKernel kernel;
    double sqrtD = Sqrt(model.SpeciesD(s));  // cm/s^1/2
    if (RowOf(model.Electrode).kernel == KernelShape::kSpherical)
      kernel.sphere = Div(sqrtD, model.Radius);
    problem.species.push_back({model.SpeciesC(s), sqrtD, static_cast<int>(problem.kernels.size())});
    problem.kernels.push_back(KernelHatWeights(kernel, dt, N));
  }
  problem.reactions.push_back({.ox = 0,
                               .red = 1,
                               .nuO = model.ChargeReactionStoich(r, 1),
                               .nuR = model.ChargeReactionStoich(r, 2),
                               .n = model.ChargeN(r),
                               .ks = model.ChargeKs(r),
                               .alpha = model.ChargeAlpha(r),
                               .E0 = model.ChargeE0(r),
                               .reorganisation = MarcusHushReorganisation(model, r)});
  c.I = SolveConvolution(problem, c.E).current[0];

  QuasiReversiblePeaks peaks;
  const double alpha = model.ChargeAlpha(r);
  const double f = model.ChargeN(r) * model.FOverRT;  // 1/V
  const double DO = model.SpeciesD(ox), DR = model.SpeciesD(red);
  peaks.psi = Div(model.ChargeKs(r) * std::pow(Div(DO, DR), alpha / 2),
                  Sqrt(kPi * DO * f * model.ScanRate));
  // A sweep towards negative potentials reduces (cathodic, positive current) on the way out.
  const int sign = -direction;
  FindPeak(c, 0, half, sign, peaks.forwardE, peaks.forwardI, &peaks.forwardWidth);
  FindPeak(c, half, N, -sign, peaks.reverseE, peaks.reverseI, nullptr);
  return peaks;
}

}  // namespace qalto
