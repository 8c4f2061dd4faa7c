#include "simulation/step_instants.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/plain_number.h"
#include "simulation/step_program.h"

namespace qalto {
namespace {

// The instants' times from the x column; refuses times that do not rise from the first step
// on, or that lie after the steps' end.
std::vector<double> CheckedTimes(const Model& model) {
  const int N = model.NumberOfPoints;
  const double t1 = model.StepTime1;                                      // s
  const double end = t1 + (model.StepTime2 > 0 ? model.StepTime2 : 0.0);  // s
  std::vector<double> times;
  times.reserve(static_cast<std::size_t>(N));
  for (int i = 1; i <= N; ++i) {
    const double t = model.PotentialX(i);
    const std::string at =
        "point " + std::to_string(i) + " of the data lies at " + PlainNumber(t) + " s, ";
    if (i == 1 && !(t > 0))
      throw RuntimeError("Invalid procedure call or argument: " + at + "at or before the step");
    if (i > 1 && !(t > times.back())) {
      throw RuntimeError("Invalid procedure call or argument: " + at + "not after point " +
                         std::to_string(i - 1) + " (" + PlainNumber(times.back()) + " s)");
    }
    if (!(t <= end * (1 + 1e-9))) {
      throw RuntimeError("Invalid procedure call or argument: " + at + "after the steps end at " +
                         PlainNumber(end) + " s (t1 (s) " + PlainNumber(t1) + ", t2 (s) " +
                         PlainNumber(model.StepTime2) + ")");
    }
    times.push_back(t);
  }
  return times;
}

bool OnSamples(const Model& model, const StepProgram& p) {
  if (model.NumberOfPoints != p.Points()) return false;
  for (int i = 1; i <= p.Points(); ++i) {
    const double sample = i * p.sample;                                      // s
    const double jump = i > p.firstPoints ? p.firstPoints * p.sample : 0.0;  // s
    if (!(std::fabs(model.PotentialX(i) - sample) <= kOnSample * (sample - jump))) return false;
  }
  return true;
}

// The grid instants k = first..first + count - 1 of a step (at k h after its jump, the step's
// grid instants numbered from 1 to `nodes`) around the time u since the jump, and the weights
// of the cubic in sqrt(u) through them.
struct Stencil {
  int first = 1;
  int count = 0;
  double s = 0;  // sqrt(u), s^1/2
  double nodeS[4] = {};
  double weight[4] = {};
};

Stencil StencilAt(double u, int nodes, double h) {
  Stencil st;
  st.s = std::sqrt(u);
  st.count = std::min(4, nodes);
  const double below = std::floor(u / h);  // the grid instant at or before u
  st.first = static_cast<int>(std::clamp(below - 1.0, 1.0, double(nodes - st.count + 1)));
  for (int j = 0; j < st.count; ++j)
    st.nodeS[j] = std::sqrt((st.first + j) * h);
  for (int j = 0; j < st.count; ++j) {
    double w = 1.0;
    for (int m = 0; m < st.count; ++m)
      if (m != j) w *= (st.s - st.nodeS[m]) / (st.nodeS[j] - st.nodeS[m]);
    st.weight[j] = w;
  }
  return st;
}

}  // namespace

std::optional<StepInstants> StepInstantsOf(Model& model) {
  const StepProgram p = StepProgramOf(model);
  if (model.NumberOfPoints < 1)
    throw RuntimeError("Invalid procedure call or argument: the data have no point");
  if (OnSamples(model, p)) {
    model.SweepPoints = p.firstPoints;
    return std::nullopt;
  }
  StepInstants g;
  g.times = CheckedTimes(model);
  const double t1 = model.StepTime1;  // s
  const int N = model.NumberOfPoints;
  g.firstInstants = 0;
  while (g.firstInstants < N &&
         g.times[static_cast<std::size_t>(g.firstInstants)] <= t1 * (1 + 1e-9))
    ++g.firstInstants;
  const double last = g.times.back();  // s
  double step = std::min(last / N / kInstantSubsteps, g.times.front());
  const bool second = g.firstInstants < N;
  if (second) step = std::min(step, g.times[static_cast<std::size_t>(g.firstInstants)] - t1);
  const int most = model.DigitalSimulation ? kMostGridPoints : kMostAnalyticalGridPoints;
  step = std::max(step, last / (most - 2));
  if (second) {
    g.firstPoints = std::max(1, static_cast<int>(std::ceil(t1 / step - 1e-9)));
    g.sample = t1 / g.firstPoints;
    g.secondPoints = static_cast<int>(std::ceil((last - t1) / g.sample - 1e-9));
  } else {
    g.sample = step;
    g.firstPoints = std::max(1, static_cast<int>(std::ceil(last / step - 1e-9)));
  }
  model.SweepPoints = g.firstInstants;
  return g;
}

FineStepRun::FineStepRun(Model& model, const StepInstants& grid)
    : model_(model),
      sample_(model.SampleTime),
      first_(model.StepTime1),
      second_(model.StepTime2),
      points_(model.NumberOfPoints),
      sweepPoints_(grid.firstInstants) {
  model.SampleTime = grid.sample;
  model.StepTime1 = grid.firstPoints * grid.sample;
  model.StepTime2 = grid.secondPoints * grid.sample;
  model.NumberOfPoints = grid.firstPoints + grid.secondPoints;
  model.SweepPoints = grid.firstPoints;
}

FineStepRun::~FineStepRun() {
  model_.SampleTime = sample_;
  model_.StepTime1 = first_;
  model_.StepTime2 = second_;
  model_.NumberOfPoints = points_;
  model_.SweepPoints = sweepPoints_;
}

void TakeStepInstants(Model& model, const StepInstants& grid) {
  const int rows = grid.firstPoints + grid.secondPoints;
  const double h = grid.sample;
  std::vector<Stencil> stencils;
  stencils.reserve(grid.times.size());
  for (std::size_t k = 0; k < grid.times.size(); ++k) {
    const bool first = static_cast<int>(k) < grid.firstInstants;
    const double jump = first ? 0.0 : grid.firstPoints * h;  // s
    Stencil st = StencilAt(std::max(grid.times[k] - jump, 1e-9 * h),
                           first ? grid.firstPoints : grid.secondPoints, h);
    if (!first) st.first += grid.firstPoints;  // a row of the grid
    stencils.push_back(st);
  }
  std::vector<double> fine(static_cast<std::size_t>(rows) + 1);
  // The current falls as t^-1/2 after a jump: the cubic goes through current x sqrt(t).
  auto resample = [&](auto& table, auto column, bool current) {
    for (int j = 1; j <= rows; ++j)
      fine[static_cast<std::size_t>(j)] = table(j, column);
    for (std::size_t k = 0; k < stencils.size(); ++k) {
      const Stencil& st = stencils[k];
      double sum = 0.0;
      for (int j = 0; j < st.count; ++j) {
        const double value = fine[static_cast<std::size_t>(st.first + j)];
        sum += st.weight[j] * (current ? value * st.nodeS[j] : value);
      }
      table(static_cast<int>(k) + 1, column) = current ? sum / st.s : sum;
    }
  };
  for (int c = 1; c <= model.TotalCurrentColumn; ++c)
    resample(model.ReactionCurrents, c, true);
  for (int s = 1; s <= model.SpeciesCount && s < model.SurfaceConcentrations.Columns(); ++s)
    resample(model.SurfaceConcentrations, s, false);
  auto charge = [&model](int i, int) -> double& { return model.PassedCharge(i); };
  resample(charge, 0, false);
}

}  // namespace qalto
