#include "fit/fit_evaluation.h"

#include <cmath>

#include "common/checked_math.h"
#include "fit/evaluate_model.h"

namespace qalto {
namespace {

size_t At(int i) {
  return static_cast<size_t>(i);
}

}  // namespace

std::vector<double> ParameterValues(const std::vector<double>& t,
                                    const std::vector<bool>& logScale) {
  std::vector<double> values = t;
  for (size_t p = 1; p < values.size() && p < logScale.size(); ++p) {
    if (logScale[p]) values[p] = Exp(t[p]);
  }
  return values;
}

std::vector<double> ConcatenatedObserved(const std::vector<FitTarget>& targets) {
  std::vector<double> y{0.0};
  for (const FitTarget& target : targets)
    y.insert(y.end(), target.observed.begin() + 1, target.observed.end());
  return y;
}

ModelEvaluation CurvesEvaluation(const std::vector<FitTarget>& targets,
                                 const std::vector<bool>& logScale, Platform& platform) {
  return [&targets, logScale, &platform](const std::vector<double>& t, std::vector<double>& f) {
    std::vector<double> values = ParameterValues(t, logScale);
    size_t offset = 0;
    std::vector<double> curve;
    for (const FitTarget& target : targets) {
      curve.assign(target.observed.size(), 0.0);
      EvaluateModel(*target.model, target.inputs, platform, values, curve);
      if (f.size() < offset + curve.size()) throw RuntimeError::SubscriptOutOfRange();
      for (int i = 1; i <= target.Points(); ++i)
        f[offset + At(i)] = curve[At(i)];
      offset += At(target.Points());
    }
  };
}

WorkerEvaluations::WorkerEvaluations(const std::vector<FitTarget>& targets,
                                     const std::vector<bool>& logScale, int count) {
  for (int w = 0; w < count; ++w) {
    auto worker = std::make_unique<Worker>();
    for (const FitTarget& target : targets) {
      worker->models.push_back(std::make_unique<Model>(WorkingCopy(*target.model)));
      worker->targets.push_back(target);
      worker->targets.back().model = worker->models.back().get();
      // The shared tally of solver reports belongs to the main thread; a worker's runs report
      // to its own recording platform, so that no two threads count into one tally.
      worker->targets.back().inputs.solverMessages = nullptr;
    }
    Worker* own = worker.get();
    ModelEvaluation evaluate = CurvesEvaluation(own->targets, logScale, own->platform);
    evaluations_.push_back([own, evaluate](const std::vector<double>& t, std::vector<double>& f) {
      try {
        evaluate(t, f);
      } catch (const SimulationFailed&) {
        std::string message = own->platform.messages.empty() ? "" : own->platform.messages.back();
        throw SimulationFailed(message);
      }
    });
    workers_.push_back(std::move(worker));
  }
}

}  // namespace qalto
