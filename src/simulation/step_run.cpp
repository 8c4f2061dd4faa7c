#include "simulation/step_run.h"

#include <cstddef>
#include <vector>

#include "common/checked_math.h"
#include "simulation/convolution_run.h"
#include "simulation/disc_response.h"
#include "simulation/step_program.h"

namespace qalto {
namespace {

// After each jump the current falls as t^-1/2 from a singular start. The step rule of the
// integral equation errs by about h/t with steps h at t after the jump, so the k-th sampling
// interval after a jump is cut into the least power of two of steps not below kSteps / k: no
// step is longer than 1/kSteps of the time since the jump, and from the kSteps-th interval on
// each is one step. Romberg's extrapolation over that grid and its halvings,
// (8 f(4M) - 6 f(2M) + f(M)) / 3, leaves the Cottrell current within 1e-4 at every sample.
constexpr int kSteps = 16;
constexpr int kLevels = 3;
constexpr int kUnitsPerSample = kSteps << (kLevels - 1);        // the finest step is one unit
constexpr double kRomberg[kLevels] = {1.0 / 3, -2.0, 8.0 / 3};  // weights of f(M), f(2M), f(4M)

int StepsOfSample(int sinceJump) {
  int steps = 1;
  while (steps * sinceJump < kSteps)
    steps *= 2;
  return steps;
}

// The grid of one level: the end of every step in units, and the step ending each sample.
struct StepGrid {
  std::vector<int> ends;
  std::vector<int> sampleEnds;  // index into ends of the last step of sample i - 1
};

StepGrid GridOf(const StepProgram& program, int level) {
  StepGrid grid;
  int now = 0;
  for (int i = 1; i <= program.Points(); ++i) {
    const int steps = StepsOfSample(program.SinceJump(i)) << level;
    const int units = kUnitsPerSample / steps;
    for (int s = 0; s < steps; ++s) {
      now += units;
      grid.ends.push_back(now);
    }
    grid.sampleEnds.push_back(static_cast<int>(grid.ends.size()) - 1);
  }
  return grid;
}

void RunConvolutionSteps(Model& model, double pHterm) {
  const StepProgram program = StepProgramOf(model);
  const int N = program.Points();
  const double unit = program.sample / kUnitsPerSample;  // s
  const std::size_t R = static_cast<std::size_t>(model.ChargeReactionCount);
  const std::size_t S = static_cast<std::size_t>(model.SpeciesCount);
  std::vector<std::vector<double>> current(R, std::vector<double>(N, 0.0));  // A
  std::vector<std::vector<double>> surface(S, std::vector<double>(N, 0.0));  // M
  std::vector<double> charge(N, 0.0);                                        // C
  // Unequal steps sum their history directly, so every weight is computed exactly.
  const int units = N * kUnitsPerSample;
  ConvolutionProblem problem = BuildConvolutionProblem(model, pHterm, {unit, units, false, units});
  for (int level = 0; level < kLevels; ++level) {
    const StepGrid grid = GridOf(program, level);
    problem.stepEnds = grid.ends;
    std::vector<double> applied;
    applied.reserve(grid.ends.size());
    for (int i = 1; i <= N; ++i)
      applied.resize(static_cast<std::size_t>(grid.sampleEnds[i - 1]) + 1, program.PotentialAt(i));
    const ConvolutionSolution x = SolveConvolution(problem, applied);
    const double weight = kRomberg[level];
    std::size_t step = 0;
    double passed = 0.0;  // C, the step rule's current held over each step
    int previousEnd = 0;
    for (int i = 0; i < N; ++i) {
      const std::size_t last = static_cast<std::size_t>(grid.sampleEnds[i]);
      for (; step <= last; ++step) {
        double sum = 0.0;
        for (std::size_t r = 0; r < R; ++r)
          sum += x.current[r][step];
        passed += sum * (grid.ends[step] - previousEnd) * unit;
        previousEnd = grid.ends[step];
      }
      charge[i] += weight * passed;
      for (std::size_t r = 0; r < R; ++r)
        current[r][i] += weight * x.current[r][last];
      for (std::size_t s = 0; s < S; ++s)
        surface[s][i] += weight * x.surface[s][last];
    }
  }
  for (int i = 1; i <= N; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    StoreConvolutionPoint(
        model, i, [&](int r) { return current[static_cast<std::size_t>(r)][at]; },
        [&](int s) { return surface[static_cast<std::size_t>(s)][at]; });
    model.PassedCharge(i) = Checked(charge[at]);
  }
}

}  // namespace

void RunStepResponse(Model& model, double pHterm) {
  if (model.Electrode == Electrode::kMicrodisc) {
    RunDiscSteps(model, pHterm);
  } else {
    RunConvolutionSteps(model, pHterm);
  }
}

}  // namespace qalto
