#include "simulation/convolution_run.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "common/checked_math.h"
#include "common/constants.h"
#include "model/experiment_table.h"
#include "model/point_time.h"
#include "simulation/complex_formal_potential.h"
#include "simulation/double_layer.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {
namespace {

// The weights of the last kernels and grids: species that diffuse alike, the two solves of a
// Richardson pair and the many runs of a fit ask for the same ones again.
const KernelWeights& CachedWeights(const DiffusionKernel& kernel, const TimeGrid& grid) {
  struct Entry {
    DiffusionKernel kernel;
    double dt;
    int count;
    bool sweep;
    int exact;
    KernelWeights weights;
  };
  constexpr std::size_t kEntries = 16;
  thread_local std::vector<Entry> cache;  // one per thread: a background run keeps its own
  for (const Entry& e : cache) {
    if (e.kernel == kernel && e.dt == grid.dt && e.count == grid.count && e.sweep == grid.sweep &&
        e.exact == grid.exact)
      return e.weights;
  }
  if (cache.size() == kEntries) cache.erase(cache.begin());
  cache.push_back({kernel, grid.dt, grid.count, grid.sweep, grid.exact,
                   grid.sweep ? KernelHatWeights(kernel, grid.dt, grid.count, grid.exact)
                              : KernelStepIntegrals(kernel, grid.dt, grid.count, grid.exact)});
  return cache.back().weights;
}

// The wall of a thin layer enters the kernel through exp(-L^2 / (D s)); beyond this many times
// the grid's length that is below 1e-18 and the layer is semi-infinite to double precision.
constexpr double kWallOutOfReach = 41.5;

// Kernel weights of diffusion with an optional first-order loss, for species s.
KernelWeights Weights(const Model& model, const TimeGrid& grid, int s, double rate) {
  DiffusionKernel kernel;
  kernel.rate = rate;
  const KernelShape shape = RowOf(model.Electrode).kernel;
  const double D = model.SpeciesD(s);  // cm2/s
  if (shape == KernelShape::kSpherical) kernel.sphere = Div(std::sqrt(D), model.Radius);
  if (shape == KernelShape::kThinLayer) {
    const double L = model.ElectrodeLength;  // film thickness, cm
    if (!(L > 0.0)) throw RuntimeError::DivisionByZero();
    if (L * L < kWallOutOfReach * D * grid.dt * grid.count) kernel.wall = Div(L, std::sqrt(D));
  }
  return CachedWeights(kernel, grid);
}

// (p x plain + q x kinetic) / (p + q): the surface kernel of one partner of a first-order
// equilibrium X = Y (K = kf / kb, kappa = kf + kb): the sum of the two diffuses freely, their
// departure from equilibrium decays with kappa.
KernelWeights Mixed(const Model& model, const TimeGrid& grid, int s, double plainShare,
                    double kineticShare, double kappa) {
  double total = plainShare + kineticShare;
  return CombineWeights(plainShare / total, Weights(model, grid, s, 0.0), kineticShare / total,
                        Weights(model, grid, s, kappa));
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
    for (int s : {x.ox, x.red}) {
      if (s < 0 || s >= model.SpeciesCount) throw RuntimeError::SubscriptOutOfRange();
    }
    x.nuO = model.ChargeReactionStoich(r, 1);
    x.nuR = model.ChargeReactionStoich(r, 2);
    if (x.nuO == 0 || x.nuR == 0) throw RuntimeError::DivisionByZero();
    if (!(x.nuO > 0 && x.nuR > 0)) throw RuntimeError::InvalidCall();
    x.n = model.ChargeN(r);
    x.ks = model.ChargeKs(r);
    x.alpha = model.ChargeAlpha(r);
    x.reorganisation = MarcusHushReorganisation(model, r);
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

// The step of the applied potential that point i takes, V: E step in the sweep's direction, the
// direction of the next step at a turn (where a potential repeats), 0 while the potential holds.
double SweepStep(const Model& model, int i) {
  const auto& x = model.PotentialX;
  int s = Sgn(x(i) - x(i - 1));
  if (s == 0 && i < model.NumberOfPoints) s = Sgn(x(i + 1) - x(i));
  return s * model.PotentialStep;
}

// The solve writes points 1..N of the model's columns in place.
void RunSweep(Model& model, double pHterm) {
  const int N = model.NumberOfPoints;
  ConvolutionProblem problem = BuildConvolutionProblem(model, pHterm, {PointTime(model), N, true});
  if (HasCapacitance(model)) {
    for (int i = 1; i <= N; ++i) {
      problem.capacitance.push_back(CapacitanceAt(model, model.PotentialX(i)));
      problem.sweepStep.push_back(SweepStep(model, i));
    }
    problem.pointTime = PointTime(model);
  }
  ConvolutionColumns out;
  for (int r = 1; r <= model.ChargeReactionCount; ++r)
    out.current.push_back(model.ReactionCurrents.ColumnRows(r, 1, N));
  for (int s = 1; s <= model.SpeciesCount; ++s)
    out.surface.push_back(model.SurfaceConcentrations.ColumnRows(s, 1, N));
  out.total = model.ReactionCurrents.ColumnRows(model.TotalCurrentColumn, 1, N);
  SolveConvolution(problem, model.PotentialX.Rows(1, N), out);
}

// The waveform a pulse technique applies to each point from rest (fresh solution every drop):
// segments of constant potential, and the signed sum of the currents at their ends.
struct PulseProgram {
  std::vector<double> duration;  // s, the same for every point
  std::vector<double> offset;    // potential of each segment relative to the point, V
  std::vector<double> weight;    // weight of the current at the end of each segment
};

// DC: the drop at E; normal pulse: the pulse at E + P from rest; differential pulse: the drop at
// E, then the pulse (P on the way out, -P on the way back), the current at the end of the pulse
// less that just before it.
PulseProgram ProgramOf(const Model& model, int i) {
  const double P = model.PulsePotential;  // V
  switch (model.Technique) {
    case Technique::kDc:
      return {{model.DropTime}, {0.0}, {1.0}};
    case Technique::kNormalPulse:
      return {{model.PulseTime}, {P}, {1.0}};
    default: {
      double pulse = i > model.SweepPoints ? -P : P;
      return {{model.DropTime - model.PulseTime, model.PulseTime}, {0.0, pulse}, {-1.0, 1.0}};
    }
  }
}

// The step rule's error after a potential jump falls as 1/M with M sub-steps (the current starts
// singular). Romberg's extrapolation over M, 2M and 4M steps in every segment,
// (8 f(4M) - 6 f(2M) + f(M)) / 3, removes the terms in 1/M and 1/M^2: at M = 8 a DC or normal
// pulse wave keeps within 2e-5 of its peak, a differential pulse within 3e-4 (2 f(2M) - f(M)
// leaves 6e-4 at M = 16). Every segment gets the same count whatever its length, its steps
// whole numbers of units, 1/(4M) of the shortest segment: one set of kernel weights serves the
// three grids and every point, and a point costs O(M^2) whatever the drop time.
constexpr int kPulseSubsteps = 8;
// A homogeneous reaction relaxes the current within 1/(kf + kb) of the jump, which the coarsest
// grid may not resolve: twice the steps (CE, kf 1, kb 100 /s, DC at 0.5 s: 3e-4 of the current at
// M = 8, 1e-4 at 16).
constexpr int kPulseSubstepsChemistry = 16;
constexpr double kRomberg[3] = {1.0 / 3, -2.0, 8.0 / 3};  // weights of f(M), f(2M), f(4M)

struct PulseGrid {
  std::vector<int> ends;      // end of each step, units
  std::vector<int> segments;  // index of the last step of each segment
};

// The segments of `units` whole units each cut into `steps` equal steps (to a unit).
PulseGrid GridOf(const std::vector<int>& units, int steps) {
  PulseGrid grid;
  int base = 0;
  for (int U : units) {
    for (int s = 1; s <= steps; ++s)
      grid.ends.push_back(base + static_cast<int>(std::lround(static_cast<double>(U) * s / steps)));
    base += U;
    grid.segments.push_back(static_cast<int>(grid.ends.size()) - 1);
  }
  return grid;
}

void RunPulses(Model& model, double pHterm) {
  const PulseProgram shape = ProgramOf(model, 1);
  double shortest = *std::min_element(shape.duration.begin(), shape.duration.end());  // s
  if (!(shortest > 0)) throw RuntimeError::InvalidCall();  // a pulse longer than its drop
  const bool chemistry = model.Mechanism >= 6 && model.Mechanism <= 8;
  const int M = chemistry ? kPulseSubstepsChemistry : kPulseSubsteps;
  const double unit = shortest / (4 * M);  // s
  std::vector<int> units;                  // of each segment
  for (double d : shape.duration)
    units.push_back(std::max(4 * M, static_cast<int>(std::lround(d / unit))));
  std::vector<PulseGrid> grids;
  std::vector<ConvolutionProblem> problems;
  for (int level = 0; level < 3; ++level) {
    grids.push_back(GridOf(units, M << level));
    if (level == 0) {
      int total = 0;
      for (int U : units)
        total += U;
      // Steps of unequal length read every weight of the grid.
      problems.push_back(BuildConvolutionProblem(model, pHterm, {unit, total, false, total}));
    } else {
      problems.push_back(problems.front());
    }
    problems.back().stepEnds = grids.back().ends;
  }

  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    const PulseProgram program = ProgramOf(model, i);
    const double E = model.PotentialX(i);                                                   // V
    std::vector<double> current(static_cast<std::size_t>(model.ChargeReactionCount), 0.0);  // A
    std::vector<double> surface(static_cast<std::size_t>(model.SpeciesCount), 0.0);         // M
    for (std::size_t level = 0; level < grids.size(); ++level) {
      const PulseGrid& grid = grids[level];
      std::vector<double> applied;
      for (std::size_t k = 0; k < grid.segments.size(); ++k)
        applied.resize(static_cast<std::size_t>(grid.segments[k] + 1), E + program.offset[k]);
      ConvolutionSolution x = SolveConvolution(problems[level], applied);
      // The signed sum of the currents at the segments' ends; the surface at the point's end.
      for (std::size_t r = 0; r < current.size(); ++r) {
        for (std::size_t k = 0; k < grid.segments.size(); ++k) {
          current[r] += kRomberg[level] * program.weight[k] *
                        x.current[r][static_cast<std::size_t>(grid.segments[k])];
        }
      }
      for (std::size_t s = 0; s < surface.size(); ++s)
        surface[s] += kRomberg[level] * x.surface[s].back();
    }
    StoreConvolutionPoint(
        model, i, [&](int r) { return current[static_cast<std::size_t>(r)]; },
        [&](int s) { return surface[static_cast<std::size_t>(s)]; });
  }
}

// Whether a couple transfers its electrons too slowly for the Nernstian superpositions at the
// sampling time t: ks sqrt(t / D) below 1e4 (the kinetic correction is then above 1e-4).
bool HasSlowCouple(const Model& model, double t) {
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    double D = model.SpeciesD(model.ChargeReactionSpecies(r, 1));  // cm2/s
    if (D > 0 && model.ChargeKs(r) * std::sqrt(t / D) < 1e4) return true;
  }
  return false;
}

}  // namespace

bool SolvedByConvolution(const Model& model) {
  using T = Technique;
  const KernelShape kernel = RowOf(model.Electrode).kernel;
  if (kernel == KernelShape::kNone) return false;
  if (model.Technique == T::kSweep) return true;
  if (model.Technique != T::kDc && model.Technique != T::kNormalPulse &&
      model.Technique != T::kDifferentialPulse)
    return false;
  if (kernel == KernelShape::kThinLayer) return true;  // no closed form feels the wall
  // The closed forms are exact for independent couples without resistance: Koutecky's step
  // response for DC and normal pulse waves at any rate, the superposition of Nernstian step
  // responses for the differential pulse. Consecutive transfers, chemistry, resistance and a
  // slow differential pulse take the integral equation.
  bool coupled = (model.Mechanism >= 2 && model.Mechanism <= 3) ||
                 (model.Mechanism >= 6 && model.Mechanism <= 8) || HasMarcusHush(model);
  bool slowPulse =
      model.Technique == T::kDifferentialPulse && HasSlowCouple(model, model.PulseTime);
  return coupled || slowPulse || model.UncompensatedResistance > 0;
}

void RunConvolution(Model& model, double pHterm) {
  if (model.Technique == Technique::kSweep) {
    RunSweep(model, pHterm);
  } else {
    RunPulses(model, pHterm);
  }
}

}  // namespace qalto
