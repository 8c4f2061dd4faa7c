#include "simulation/convolution_run.h"

#include <cmath>
#include <functional>

#include "common/checked_math.h"
#include "common/constants.h"
#include "simulation/complex_formal_potential.h"

namespace qalto {
namespace {

bool IsSphere(const Model& model) {
  return model.Electrode >= 2 && model.Electrode <= 4;
}

// Kernel weights of diffusion with an optional first-order loss, for species s.
KernelWeights Weights(const Model& model, const TimeGrid& grid, int s, double rate) {
  DiffusionKernel kernel;
  kernel.rate = rate;
  if (IsSphere(model)) kernel.sphere = Div(std::sqrt(model.SpeciesD(s)), model.Radius);
  return grid.sweep ? KernelHatWeights(kernel, grid.dt, grid.count)
                    : KernelStepIntegrals(kernel, grid.dt, grid.count);
}

// (p x plain + q x kinetic) / (p + q): the surface kernel of one partner of a first-order
// equilibrium X = Y (K = kf / kb, kappa = kf + kb): the sum of the two diffuses freely, their
// departure from equilibrium decays with kappa.
KernelWeights Mixed(const Model& model, const TimeGrid& grid, int s, double plainShare,
                    double kineticShare, double kappa) {
  KernelWeights plain = Weights(model, grid, s, 0.0);
  KernelWeights kinetic = Weights(model, grid, s, kappa);
  double total = plainShare + kineticShare;
  for (std::size_t m = 0; m < plain.w.size(); ++m) {
    plain.w[m] = (plainShare * plain.w[m] + kineticShare * kinetic.w[m]) / total;
    plain.start[m] = (plainShare * plain.start[m] + kineticShare * kinetic.start[m]) / total;
  }
  return plain;
}

// The kernel of each species: its own diffusion, with the chemistry of the mechanism where the
// species takes part in it.
void AddKernels(const Model& model, const TimeGrid& grid, ConvolutionProblem& problem) {
  const int mechanism = model.Mechanism;
  const double kf = model.ForwardRateConstant(1);   // 1/s (mechanism 8: 1/(M s))
  const double kb = model.BackwardRateConstant(1);  // 1/s
  for (int s = 1; s <= model.SpeciesCount; ++s) {
    KernelWeights w;
    if (mechanism == 6 && s == 1 && kf > 0) {
      // CE, C = A: the product A of the preceding equilibrium (K = kf / kb).
      w = kb > 0 ? Mixed(model, grid, s, kf / kb, 1.0, kf + kb) : Weights(model, grid, s, 0.0);
    } else if (mechanism == 7 && s == 2 && kf > 0) {
      // EC, B = C: the reactant B of the following equilibrium.
      w = kb > 0 ? Mixed(model, grid, s, 1.0, kf / kb, kf + kb) : Weights(model, grid, s, kf);
    } else if (mechanism == 8 && (s == 1 || s == 2)) {
      // EC': with equal diffusion A + B stays uniform; B decays with k' = kf C(3) + kb.
      w = Weights(model, grid, s, kf * model.SpeciesC(3) + kb);
    } else {
      w = Weights(model, grid, s, 0.0);
    }
    ConvolutionSpecies species;
    species.bulk = model.SpeciesC(s);
    species.sqrtD = Sqrt(model.SpeciesD(s));
    if (species.sqrtD == 0.0) throw RuntimeError::DivisionByZero();  // no diffusion at all
    species.kernel = static_cast<int>(problem.kernels.size());
    for (std::size_t k = 0; k < problem.kernels.size(); ++k) {
      if (problem.kernels[k] == w) species.kernel = static_cast<int>(k);
    }
    if (species.kernel == static_cast<int>(problem.kernels.size())) problem.kernels.push_back(w);
    problem.species.push_back(species);
  }
}

void AddReactions(const Model& model, double pHterm, ConvolutionProblem& problem) {
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    ConvolutionReaction x;
    x.ox = model.ChargeReactionSpecies(r, 1) - 1;
    x.red = model.ChargeReactionSpecies(r, 2) - 1;
    x.n = model.ChargeN(r);
    x.ks = model.ChargeKs(r);
    x.alpha = model.ChargeAlpha(r);
    double k = Div(model.RTOverF, x.n);  // V
    x.E0 = model.ChargeE0(r);
    if ((model.Mechanism == 9 || model.Mechanism == 10) && model.SpeciesC(4) > 0.0)
      x.E0 = ComplexFormalPotential(model, r, model.Mechanism == 9 ? 4 : 2);
    // Protons in the reaction move the formal potential by k ln 10 per pH unit.
    x.E0 -= model.ProtonCount(r) * k * pHterm;
    problem.reactions.push_back(x);
  }
}

}  // namespace

ConvolutionProblem BuildConvolutionProblem(const Model& model, double pHterm,
                                           const TimeGrid& grid) {
  ConvolutionProblem problem;
  problem.fOverRT = model.FOverRT;
  problem.AF = model.ElectrodeArea * kFaraday * 0.001;
  problem.resistance = model.UncompensatedResistance;
  AddKernels(model, grid, problem);
  AddReactions(model, pHterm, problem);
  return problem;
}

void StoreConvolutionPoint(Model& model, int i, const std::function<double(int)>& current,
                           const std::function<double(int)>& surface) {
  double sum = 0.0;
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    model.ReactionCurrents(i, r) = Checked(current(r - 1));
    sum += model.ReactionCurrents(i, r);
  }
  model.ReactionCurrents(i, model.TotalCurrentColumn) = sum;
  for (int s = 1; s <= model.SpeciesCount; ++s)
    model.SurfaceConcentrations(i, s) = surface(s - 1);
}

namespace {

void RunSweep(Model& model, double pHterm) {
  const int N = model.NumberOfPoints;
  ConvolutionProblem problem = BuildConvolutionProblem(model, pHterm, {model.DropTime, N, true});
  std::vector<double> applied(static_cast<std::size_t>(N));
  for (int i = 1; i <= N; ++i)
    applied[static_cast<std::size_t>(i - 1)] = model.PotentialX(i);
  ConvolutionSolution solution = SolveConvolution(problem, applied);
  for (int i = 1; i <= N; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    StoreConvolutionPoint(
        model, i, [&](int r) { return solution.current[static_cast<std::size_t>(r)][at]; },
        [&](int s) { return solution.surface[static_cast<std::size_t>(s)][at]; });
  }
}

// Each point a fresh potential step sampled at the drop time. The step rule's error falls as
// 1/M with M sub-steps (the current starts singular); M = 64 and 128 with Richardson's
// extrapolation 2 x fine - coarse leave about 2e-5 of the current.
constexpr int kStepSubsteps = 64;

void RunSteps(Model& model, double pHterm) {
  const double t = model.DropTime;  // sampling time after the step, s
  const int M = kStepSubsteps;
  ConvolutionProblem coarse = BuildConvolutionProblem(model, pHterm, {t / M, M, false});
  ConvolutionProblem fine = BuildConvolutionProblem(model, pHterm, {t / (2 * M), 2 * M, false});
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    double E = model.PotentialX(i);  // V
    ConvolutionSolution a = SolveConvolution(coarse, std::vector<double>(M, E));
    ConvolutionSolution b = SolveConvolution(fine, std::vector<double>(2 * M, E));
    auto extrapolate = [](const std::vector<double>& x, const std::vector<double>& y) {
      return 2.0 * y.back() - x.back();
    };
    StoreConvolutionPoint(
        model, i,
        [&](int r) {
          return extrapolate(a.current[static_cast<std::size_t>(r)],
                             b.current[static_cast<std::size_t>(r)]);
        },
        [&](int s) {
          return extrapolate(a.surface[static_cast<std::size_t>(s)],
                             b.surface[static_cast<std::size_t>(s)]);
        });
  }
}

}  // namespace

bool SolvedByConvolution(const Model& model) {
  if (model.Electrode < 1 || model.Electrode > 4) return false;
  if (model.Technique == 1) return true;
  // A DC wave keeps Koutecky's closed form, exact for charge transfer alone, unless chemistry or
  // a resistance act during the drop.
  bool chemistry = model.Mechanism >= 6 && model.Mechanism <= 8;
  return model.Technique == 2 && (chemistry || model.UncompensatedResistance > 0);
}

void RunConvolution(Model& model, double pHterm) {
  if (model.Technique == 1) {
    RunSweep(model, pHterm);
  } else {
    RunSteps(model, pHterm);
  }
}

}  // namespace qalto
