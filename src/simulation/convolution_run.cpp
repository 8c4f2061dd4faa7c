#include "simulation/convolution_run.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"
#include "simulation/complex_formal_potential.h"
#include "simulation/convolution_solver.h"
#include "simulation/convolution_weights.h"

namespace qalto {
namespace {

bool IsSphere(const Model& model) {
  return model.Electrode >= 2 && model.Electrode <= 4;
}

// Kernel weights of diffusion with an optional first-order loss, for species s.
KernelWeights Weights(const Model& model, int s, double rate) {
  DiffusionKernel kernel;
  kernel.rate = rate;
  if (IsSphere(model)) kernel.sphere = Div(std::sqrt(model.SpeciesD(s)), model.Radius);
  return KernelHatWeights(kernel, model.DropTime, model.NumberOfPoints);
}

// (p x plain + q x kinetic) / (p + q): the surface kernel of one partner of a first-order
// equilibrium X = Y (K = kf / kb, kappa = kf + kb): the sum of the two diffuses freely, their
// departure from equilibrium decays with kappa.
KernelWeights Mixed(const Model& model, int s, double plainShare, double kineticShare,
                    double kappa) {
  KernelWeights plain = Weights(model, s, 0.0);
  KernelWeights kinetic = Weights(model, s, kappa);
  double total = plainShare + kineticShare;
  for (std::size_t m = 0; m < plain.w.size(); ++m) {
    plain.w[m] = (plainShare * plain.w[m] + kineticShare * kinetic.w[m]) / total;
    plain.start[m] = (plainShare * plain.start[m] + kineticShare * kinetic.start[m]) / total;
  }
  return plain;
}

// The kernel of each species: its own diffusion, with the chemistry of the mechanism where the
// species takes part in it.
void AddKernels(const Model& model, ConvolutionProblem& problem) {
  const int mechanism = model.Mechanism;
  const double kf = model.ForwardRateConstant(1);   // 1/s (mechanism 8: 1/(M s))
  const double kb = model.BackwardRateConstant(1);  // 1/s
  for (int s = 1; s <= model.SpeciesCount; ++s) {
    KernelWeights w;
    if (mechanism == 6 && s == 1 && kf > 0) {
      // CE, C = A: the product A of the preceding equilibrium (K = kf / kb).
      w = kb > 0 ? Mixed(model, s, kf / kb, 1.0, kf + kb) : Weights(model, s, 0.0);
    } else if (mechanism == 7 && s == 2 && kf > 0) {
      // EC, B = C: the reactant B of the following equilibrium.
      w = kb > 0 ? Mixed(model, s, 1.0, kf / kb, kf + kb) : Weights(model, s, kf);
    } else if (mechanism == 8 && (s == 1 || s == 2)) {
      // EC': with equal diffusion A + B stays uniform; B decays with k' = kf C(3) + kb.
      w = Weights(model, s, kf * model.SpeciesC(3) + kb);
    } else {
      w = Weights(model, s, 0.0);
    }
    ConvolutionSpecies species;
    species.bulk = model.SpeciesC(s);
    species.sqrtD = Sqrt(model.SpeciesD(s));
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

bool SolvedByConvolution(const Model& model) {
  return model.Technique == 1 && model.Electrode >= 1 && model.Electrode <= 4;
}

void RunConvolutionSweep(Model& model, double pHterm) {
  const int N = model.NumberOfPoints;
  ConvolutionProblem problem;
  problem.fOverRT = model.FOverRT;
  problem.AF = model.ElectrodeArea * kFaraday * 0.001;
  problem.resistance = model.UncompensatedResistance;
  AddKernels(model, problem);
  AddReactions(model, pHterm, problem);

  std::vector<double> applied(static_cast<std::size_t>(N));
  for (int i = 1; i <= N; ++i)
    applied[static_cast<std::size_t>(i - 1)] = model.PotentialX(i);
  ConvolutionSolution solution = SolveConvolution(problem, applied);

  const int total = model.TotalCurrentColumn;
  for (int i = 1; i <= N; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    double sum = 0.0;
    for (int r = 1; r <= model.ChargeReactionCount; ++r) {
      model.ReactionCurrents(i, r) = solution.current[static_cast<std::size_t>(r - 1)][at];
      sum += model.ReactionCurrents(i, r);
    }
    model.ReactionCurrents(i, total) = sum;
    for (int s = 1; s <= model.SpeciesCount; ++s)
      model.SurfaceConcentrations(i, s) = solution.surface[static_cast<std::size_t>(s - 1)][at];
  }
}

}  // namespace qalto
