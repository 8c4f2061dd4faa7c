#include "simulation/program_run.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "simulation/convolution_run.h"
#include "simulation/double_layer.h"
#include "simulation/program_samples.h"

namespace qalto {
namespace {

// After a jump the current falls from a singular start, which the hat weights (the flux linear
// between grid points) follow with an error of about h / t at t after the jump. A program with
// jumps is solved on sub-steps of t sample / M for M = 16, 32 and 64, and Romberg's
// extrapolation (8 f(4M) - 6 f(2M) + f(M)) / 3 removes the terms in 1/M and 1/M^2: the Cottrell
// current of the first sample after a jump is then within 1e-6 of the step integrals' (1e-2 at
// M = 16 alone). A program without jumps is solved on its samples alone, as a sweep is.
constexpr int kJumpSubsteps = 16;
constexpr double kRomberg[3] = {1.0 / 3, -2.0, 8.0 / 3};  // weights of f(M), f(2M), f(4M)

ProgramSamples SamplesOf(const Model& model) {
  return SampleProgram(model.Program, model.SampleTime, model.StartPotential);
}

// The change of the applied potential that sub-step n takes, V: as a sweep counts it, the
// change to the next where the potential repeats (a turn, the end of a hold), so that the
// charging current of a program of sweeps is the cyclic voltammogram's.
std::vector<double> PotentialChanges(const std::vector<double>& applied, double rest) {
  const std::size_t N = applied.size();
  std::vector<double> change(N, 0.0);
  for (std::size_t n = 0; n < N; ++n) {
    change[n] = applied[n] - (n > 0 ? applied[n - 1] : rest);
    if (std::fabs(change[n]) <= kJumpThreshold && n + 1 < N)
      change[n] = applied[n + 1] - applied[n];
  }
  return change;
}

// The solution of the program on sub-steps of t sample / M, read at the samples' ends.
ConvolutionSolution SolveOnSubsteps(const Model& model, double pHterm, const ProgramSamples& s,
                                    int M) {
  const int N = s.Count();
  std::vector<double> applied;  // V, at the end of every sub-step
  applied.reserve(static_cast<std::size_t>(N) * M);
  for (int k = 0; k < N; ++k) {
    const double from = s.begin[static_cast<std::size_t>(k)];
    const double to = s.potential[static_cast<std::size_t>(k)];
    for (int j = 1; j < M; ++j)
      applied.push_back(from + (to - from) * j / M);
    applied.push_back(to);
  }
  const double dt = s.interval / M;  // s
  ConvolutionProblem problem =
      BuildConvolutionProblem(model, pHterm, {dt, static_cast<int>(applied.size()), true});
  if (HasCapacitance(model)) {
    for (double E : applied)
      problem.capacitance.push_back(CapacitanceAt(model, E));
    problem.sweepStep = PotentialChanges(applied, s.rest);
    problem.pointTime = dt;
  }
  problem.keepEvery = M;
  return SolveConvolution(problem, applied);
}

// Romberg's combination of the three levels, column by column.
void AddWeighted(std::vector<std::vector<double>>& sum, const std::vector<std::vector<double>>& x,
                 double weight) {
  if (sum.empty()) sum.assign(x.size(), std::vector<double>(x.empty() ? 0 : x[0].size(), 0.0));
  for (std::size_t c = 0; c < x.size(); ++c)
    for (std::size_t k = 0; k < x[c].size(); ++k)
      sum[c][k] += weight * x[c][k];
}

}  // namespace

void BuildProgramAxis(Model& model) {
  if (SampledAtRows(model.Program)) {
    if (auto problem = ProgramProblem(model.Program, model.SampleTime, model.StartPotential))
      throw RuntimeError("Invalid procedure call or argument: " + *problem);
    const std::vector<double>& E = model.Program.filePotentials;
    const int N = static_cast<int>(E.size());
    model.NumberOfPoints = N;
    model.SweepPoints = N;
    model.PotentialX(0) = E.front();
    for (int i = 1; i <= N; ++i)
      model.PotentialX(i) = E[static_cast<std::size_t>(i - 1)];
    return;  // PointTimes: TakeRowInstants
  }
  const ProgramSamples s = SamplesOf(model);
  const int N = s.Count();
  model.NumberOfPoints = N;
  model.SweepPoints = N;
  model.PotentialX(0) = s.rest;
  model.PointTimes(0) = s.TimeOf(-1);
  for (int i = 1; i <= N; ++i) {
    model.PotentialX(i) = s.potential[static_cast<std::size_t>(i - 1)];
    model.PointTimes(i) = s.TimeOf(i - 1);
  }
}

void RunProgramConvolution(Model& model, double pHterm) {
  const ProgramSamples s = SamplesOf(model);
  ConvolutionSolution solution;
  if (!s.HasJump()) {
    solution = SolveOnSubsteps(model, pHterm, s, 1);
  } else {
    std::vector<std::vector<double>> total;
    for (int level = 0; level < 3; ++level) {
      ConvolutionSolution x = SolveOnSubsteps(model, pHterm, s, kJumpSubsteps << level);
      AddWeighted(solution.current, x.current, kRomberg[level]);
      AddWeighted(solution.surface, x.surface, kRomberg[level]);
      if (!x.total.empty()) AddWeighted(total, {x.total}, kRomberg[level]);
    }
    if (!total.empty()) solution.total = total.front();
  }
  for (int i = 1; i <= s.Count(); ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    StoreConvolutionPoint(
        model, i, [&](int r) { return solution.current[static_cast<std::size_t>(r)][at]; },
        [&](int sp) { return solution.surface[static_cast<std::size_t>(sp)][at]; });
    if (!solution.total.empty())
      model.ReactionCurrents(i, model.TotalCurrentColumn) = solution.total[at];
  }
}

std::optional<RowGrid> RowGridOfRun(const Model& model) {
  if (model.Technique != Technique::kPotentialProgram || !SampledAtRows(model.Program))
    return std::nullopt;
  const PotentialProgram& p = model.Program;
  if (auto problem = ProgramProblem(p, model.SampleTime, model.StartPotential))
    throw RuntimeError("Invalid procedure call or argument: " + *problem);
  if (model.NumberOfPoints != static_cast<int>(p.fileTimes.size())) {
    throw RuntimeError("Invalid procedure call or argument: the potential program " + p.fileName +
                       " holds " + std::to_string(p.fileTimes.size()) + " instants, the curve " +
                       std::to_string(model.NumberOfPoints) + " points");
  }
  return RowGridOf(p);
}

void TakeRowInstants(Model& model, const RowGrid& grid) {
  const std::vector<double>& T = model.Program.fileTimes;
  const int N = static_cast<int>(T.size());
  if (!grid.onRows) {
    // Each row between the grid's points j and j + 1 (point 0 the rest, where nothing flows).
    std::vector<int> below(static_cast<std::size_t>(N));
    std::vector<double> share(static_cast<std::size_t>(N));
    for (std::size_t k = 0; k < T.size(); ++k) {
      const double place = (T[k] - grid.start) / grid.interval;
      below[k] = std::clamp(static_cast<int>(std::floor(place)), 0, grid.count - 1);
      share[k] = place - below[k];
    }
    auto resample = [&](auto& table, int column) {
      std::vector<double> fine(static_cast<std::size_t>(grid.count) + 1, 0.0);
      for (int j = 1; j <= grid.count; ++j)
        fine[static_cast<std::size_t>(j)] = table(j, column);
      for (int i = 1; i <= N; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        const std::size_t j = static_cast<std::size_t>(below[k]);
        table(i, column) = fine[j] + share[k] * (fine[j + 1] - fine[j]);
      }
    };
    for (int c = 1; c <= model.TotalCurrentColumn; ++c)
      resample(model.ReactionCurrents, c);
    for (int sp = 1; sp <= model.SpeciesCount && sp < model.SurfaceConcentrations.Columns(); ++sp)
      resample(model.SurfaceConcentrations, sp);
    model.NumberOfPoints = N;
  }
  model.PointTimes(0) = grid.start;
  for (int i = 1; i <= N; ++i)
    model.PointTimes(i) = T[static_cast<std::size_t>(i - 1)];
}

}  // namespace qalto
