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
  for (const FitTarget& target : targets) {
    const double scale = std::sqrt(target.weight);
    for (int j = 1; j <= target.ComparedCount(); ++j)
      y.push_back(scale * target.observed[At(target.ComparedPoint(j))]);
  }
  return y;
}

ModelEvaluation CurvesEvaluation(const std::vector<FitTarget>& targets,
                                 const std::vector<bool>& logScale, const MessageSink& onMessage) {
  return [&targets, logScale, onMessage](const std::vector<double>& t, std::vector<double>& f) {
    std::vector<double> values = ParameterValues(t, logScale);
    size_t offset = 0;
    std::vector<double> curve;
    for (const FitTarget& target : targets) {
      curve.assign(target.observed.size(), 0.0);
      EvaluateModel(*target.model, target.inputs, onMessage, values, curve);
      const int count = target.ComparedCount();
      if (f.size() < offset + At(count) + 1) throw RuntimeError::SubscriptOutOfRange();
      const double scale = std::sqrt(target.weight);
      for (int j = 1; j <= count; ++j)
        f[offset + At(j)] = scale * curve[At(target.ComparedPoint(j))];
      offset += At(count);
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
      // The shared tally of solver reports belongs to the main thread; a worker's runs keep
      // their own, so that no two threads count into one tally.
      worker->targets.back().inputs.solverMessages = nullptr;
    }
    evaluations_.push_back(CurvesEvaluation(worker->targets, logScale, MessageSink{}));
    workers_.push_back(std::move(worker));
  }
}

}  // namespace qalto
