#pragma once
// The instants of a measured chronoamperogram in a fit (its x column: seconds since the first
// step). Instants that are the steps' samples are computed there. Others (an instrument that
// records on a change of current as well as on time, dense after each step and sparse later,
// or a clock that jitters) are computed on an even fine grid of the same steps, and each
// quantity is interpolated at each instant from the grid instants of its own step.
//
// After a jump every diffusion transient is a smooth function of s = sqrt(t - jump): the
// current times s (Cottrell's current times s is a constant), the surface concentrations and
// the charge passed are each interpolated by the cubic in s through the four grid instants
// around the instant, which leaves the t^-1/2 fall of the current right after a step exact.

#include <optional>
#include <vector>

#include "model/model.h"

namespace qalto {

// An instant is a sample i t sample when it lies within kOnSample of its time since the jump
// before it: a t^-1/2 current then errs by at most half of that.
inline constexpr double kOnSample = 1e-4;
// The fine grid's step: a kInstantSubsteps-th of the curve's mean step, and no longer than the
// first instant after each jump, so that every instant has grid instants before it in its
// step; no finer than kMostGridPoints instants over the curve, the integral equation's
// kMostAnalyticalGridPoints, whose cost grows as their square (0.4 s a run at 4000); an
// instant closer to a jump than the step is then extrapolated from the first four.
inline constexpr int kInstantSubsteps = 4;
inline constexpr int kMostGridPoints = kMaxPoints;
inline constexpr int kMostAnalyticalGridPoints = 4000;

struct StepInstants {
  double sample = 0;          // s, the grid's step
  int firstPoints = 0;        // grid instants of the first step
  int secondPoints = 0;       // grid instants of the second step, to the last instant
  int firstInstants = 0;      // measured instants of the first step (t <= t1)
  std::vector<double> times;  // the measured instants, s
};

// The model's points (a measured curve, FitMode) against the steps of t1, t2 and t sample:
// nothing where each is the sample of its place (SweepPoints is then the first step's samples),
// else the fine grid. Raises "Invalid procedure call or argument: point 12 of the data lies at
// 2.5 s, after the steps end at 2 s (t1 (s) 1, t2 (s) 1)" for an instant outside the steps,
// and for times that do not rise.
std::optional<StepInstants> StepInstantsOf(Model& model);

// The fine grid's steps in the model's boxes (t sample, t1, t2, NumberOfPoints and SweepPoints)
// while it lives: the step runs compute it as any steps. The boxes and the curve's points come
// back at its end, whatever happens meanwhile.
class FineStepRun {
 public:
  FineStepRun(Model& model, const StepInstants& grid);
  ~FineStepRun();
  FineStepRun(const FineStepRun&) = delete;
  FineStepRun& operator=(const FineStepRun&) = delete;

 private:
  Model& model_;
  double sample_, first_, second_;
  int points_;
  double sweepPoints_;
};

// After a run of the grid: the currents (every column), the surface concentrations and the
// charge passed at the measured instants, in rows 1..the instants' count.
void TakeStepInstants(Model& model, const StepInstants& grid);

}  // namespace qalto
