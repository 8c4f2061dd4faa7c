#include "simulation/program_run.h"

#include <cstddef>
#include <vector>

#include "simulation/convolution_run.h"
#include "simulation/double_layer.h"
#include "simulation/program_samples.h"

namespace qalto {
namespace {

// After a jump the current falls from a singular start, which the hat weights (the flux linear
// between grid points) follow only on a grid fine against the time since the jump: a program
// with jumps is solved on sub-steps of 1/kJumpSubsteps of t sample, sampled at every interval's
// end.
constexpr int kJumpSubsteps = 16;

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
    if (change[n] == 0.0 && n + 1 < N) change[n] = applied[n + 1] - applied[n];
  }
  return change;
}

}  // namespace

void BuildProgramAxis(Model& model) {
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
  const int N = s.Count();
  const int M = s.HasJump() ? kJumpSubsteps : 1;
  const double dt = s.interval / M;  // s
  std::vector<double> applied;       // V, at the end of every sub-step
  applied.reserve(static_cast<std::size_t>(N) * M);
  for (int k = 0; k < N; ++k) {
    const double from = s.begin[static_cast<std::size_t>(k)];
    const double to = s.potential[static_cast<std::size_t>(k)];
    for (int j = 1; j < M; ++j)
      applied.push_back(from + (to - from) * j / M);
    applied.push_back(to);
  }
  ConvolutionProblem problem =
      BuildConvolutionProblem(model, pHterm, {dt, static_cast<int>(applied.size()), true});
  if (HasCapacitance(model)) {
    for (double E : applied)
      problem.capacitance.push_back(CapacitanceAt(model, E));
    problem.sweepStep = PotentialChanges(applied, s.rest);
    problem.pointTime = dt;
  }
  const ConvolutionSolution solution = SolveConvolution(problem, applied);
  for (int i = 1; i <= N; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * M - 1;
    StoreConvolutionPoint(
        model, i, [&](int r) { return solution.current[static_cast<std::size_t>(r)][at]; },
        [&](int sp) { return solution.surface[static_cast<std::size_t>(sp)][at]; });
    if (!solution.total.empty())
      model.ReactionCurrents(i, model.TotalCurrentColumn) = solution.total[at];
  }
}

}  // namespace qalto
