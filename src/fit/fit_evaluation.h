#pragma once
// The objective of a fit over one or several measured curves: the fitted parameters, moved by
// the engine in its own coordinates (the logarithm of a positive quantity, else the value), are
// written into the model of every curve, each curve is simulated with its own instrument
// settings, and the simulated curves follow one another in one vector, as the measured ones do.
//
// RunSimulation reads and writes nothing but the model it is given and returns its messages, so
// a simulation can run on a thread of its own when it has a copy of the models.
// WorkerEvaluations makes such copies, one set per thread of the fit.

#include <memory>
#include <string>
#include <vector>

#include "fit/evaluate_model.h"
#include "fit/fit_threads.h"
#include "fit/marquardt_step.h"
#include "model/model.h"
#include "simulation/simulation_driver.h"

namespace qalto {

// One measured curve of a fit with the model it is simulated on.
struct FitTarget {
  Model* model = nullptr;  // the curve's instrument settings, potential axis and FitMode set
  SimulationInputs inputs;
  std::vector<double> observed{0.0};  // y(1..points)
  std::string label;                  // its name in the report
  // The points compared with the simulation, in order; empty: all. The others are simulated
  // (they are the history of the compared ones) but do not count.
  std::vector<int> compared;
  double weight = 1;  // of the curve's squared residuals
  int Points() const { return static_cast<int>(observed.size()) - 1; }
  int ComparedCount() const {
    return compared.empty() ? Points() : static_cast<int>(compared.size());
  }
  int ComparedPoint(int j) const {
    return compared.empty() ? j : compared[static_cast<size_t>(j - 1)];
  }
};

// Parameter values from the engine's coordinates: t(p) or exp(t(p)) where logScale(p).
std::vector<double> ParameterValues(const std::vector<double>& t,
                                    const std::vector<bool>& logScale);

// The concatenated compared currents of the targets, each times the root of its weight,
// 1..total compared points; the simulated ones follow the same order and scale.
std::vector<double> ConcatenatedObserved(const std::vector<FitTarget>& targets);

// The objective on the targets' own models; the messages of their runs go to onMessage, in the
// order of the targets. With threads, several targets and no tally shared by their runs, the
// targets are simulated side by side, each on its own model.
ModelEvaluation CurvesEvaluation(const std::vector<FitTarget>& targets,
                                 const std::vector<bool>& logScale, const MessageSink& onMessage,
                                 FitThreads* threads = nullptr);

// The last compared point of each target in the concatenated vector, after a 0: the part ends
// of MarquardtFit::SetThreads.
std::vector<int> TargetEnds(const std::vector<FitTarget>& targets);

// `count` evaluations of single targets (the parts of the objective) for the threads of a fit,
// each on its own working copies of the targets' models (experiment and curves, taken now, when
// the fitted parameter codes are set). A failure raises SimulationFailed with its message. The
// solver's reports of a thread's runs are gathered in a tally of the thread's own when the
// targets have one, for AddSolverReportsTo once the threads are settled. A run stopped halfway
// (RunCancelled) leaves its model as it was taken, for the next run.
class WorkerEvaluations {
 public:
  WorkerEvaluations(const std::vector<FitTarget>& targets, const std::vector<bool>& logScale,
                    int count);
  std::vector<PartEvaluation> Evaluations() const { return evaluations_; }
  // Every thread's reports so far join `tally`.
  void AddSolverReportsTo(SolverMessageTally& tally) const;

 private:
  struct Worker {
    std::vector<std::unique_ptr<Model>> models;
    std::vector<FitTarget> targets;
    SolverMessageTally solverMessages;
  };
  std::vector<std::unique_ptr<Model>> taken_;  // the models as taken, one per target
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<PartEvaluation> evaluations_;
};

}  // namespace qalto
