#include "fit/fit_evaluation.h"

#include <cmath>
#include <exception>
#include <span>
#include <string>

#include "common/checked_math.h"
#include "common/run_monitor.h"
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

namespace {

// Where each target's points begin in the concatenated vector: offset(c) + 1 is its first.
std::vector<size_t> TargetOffsets(const std::vector<FitTarget>& targets) {
  std::vector<size_t> offsets;
  size_t offset = 0;
  for (const FitTarget& target : targets) {
    offsets.push_back(offset);
    offset += At(target.ComparedCount());
  }
  return offsets;
}

// Simulates one target at the parameter values and writes its compared points, times the root
// of its weight, to f from offset + 1 on.
void EvaluateTarget(const FitTarget& target, const std::vector<double>& values,
                    const MessageSink& onMessage, size_t offset, std::span<double> f) {
  std::vector<double> curve(target.observed.size(), 0.0);
  EvaluateModel(*target.model, target.inputs, onMessage, values, curve);
  const int count = target.ComparedCount();
  if (f.size() < offset + At(count) + 1) throw RuntimeError::SubscriptOutOfRange();
  const double scale = std::sqrt(target.weight);
  for (int j = 1; j <= count; ++j)
    f[offset + At(j)] = scale * curve[At(target.ComparedPoint(j))];
}

// Side by side: each target's messages are kept and shown after the runs, in the order of the
// targets up to the first that failed, as the serial loop shows them.
void EvaluateTargetsOnThreads(const std::vector<FitTarget>& targets,
                              const std::vector<double>& values, const MessageSink& onMessage,
                              FitThreads& threads, std::vector<double>& f) {
  const std::vector<size_t> offsets = TargetOffsets(targets);
  std::vector<std::vector<std::string>> messages(targets.size());
  std::vector<char> failed(targets.size(), 0);
  std::exception_ptr failure;
  try {
    threads.Run(static_cast<int>(targets.size()), [&](int c, int) {
      const size_t curve = At(c);
      MessageSink keep = [&messages, curve](const std::string& message) {
        messages[curve].push_back(message);
      };
      try {
        EvaluateTarget(targets[curve], values, keep, offsets[curve], f);
      } catch (...) {
        failed[curve] = 1;
        throw;
      }
    });
  } catch (...) {
    failure = std::current_exception();
  }
  for (size_t c = 0; c < targets.size(); ++c) {
    if (onMessage) {
      for (const std::string& message : messages[c])
        onMessage(message);
    }
    if (failed[c]) break;
  }
  if (failure) std::rethrow_exception(failure);
}

bool SharesATally(const std::vector<FitTarget>& targets) {
  for (const FitTarget& target : targets)
    if (target.inputs.solverMessages) return true;
  return false;
}

}  // namespace

ModelEvaluation CurvesEvaluation(const std::vector<FitTarget>& targets,
                                 const std::vector<bool>& logScale, const MessageSink& onMessage,
                                 FitThreads* threads) {
  if (threads && threads->Count() > 1 && targets.size() > 1 && !SharesATally(targets)) {
    return [&targets, logScale, onMessage, threads](const std::vector<double>& t,
                                                    std::vector<double>& f) {
      EvaluateTargetsOnThreads(targets, ParameterValues(t, logScale), onMessage, *threads, f);
    };
  }
  return [&targets, logScale, onMessage](const std::vector<double>& t, std::vector<double>& f) {
    const std::vector<double> values = ParameterValues(t, logScale);
    size_t offset = 0;
    for (const FitTarget& target : targets) {
      EvaluateTarget(target, values, onMessage, offset, f);
      offset += At(target.ComparedCount());
    }
  };
}

std::vector<int> TargetEnds(const std::vector<FitTarget>& targets) {
  std::vector<int> ends{0};
  for (const FitTarget& target : targets)
    ends.push_back(ends.back() + target.ComparedCount());
  return ends;
}

WorkerEvaluations::WorkerEvaluations(const std::vector<FitTarget>& targets,
                                     const std::vector<bool>& logScale, int count) {
  const std::vector<size_t> offsets = TargetOffsets(targets);
  for (const FitTarget& target : targets)
    taken_.push_back(std::make_unique<Model>(WorkingCopy(*target.model)));
  for (int w = 0; w < count; ++w) {
    auto worker = std::make_unique<Worker>();
    for (const FitTarget& target : targets) {
      worker->models.push_back(std::make_unique<Model>(WorkingCopy(*target.model)));
      worker->targets.push_back(target);
      worker->targets.back().model = worker->models.back().get();
      // The shared tally of solver reports belongs to the main thread; a worker's runs count
      // into the worker's, so that no two threads count into one tally.
      SolverMessageTally*& tally = worker->targets.back().inputs.solverMessages;
      if (tally != nullptr) tally = &worker->solverMessages;
    }
    Worker* own = worker.get();
    const std::vector<std::unique_ptr<Model>>& taken = taken_;
    evaluations_.push_back([own, &taken, logScale, offsets](int part, const std::vector<double>& t,
                                                            std::span<double> f) {
      const size_t c = At(part);
      try {
        EvaluateTarget(own->targets[c], ParameterValues(t, logScale), MessageSink{}, offsets[c], f);
      } catch (const RunCancelled&) {
        // A run stopped halfway may leave its axis lengthened by the hold; the next starts afresh.
        *own->models[c] = WorkingCopy(*taken[c]);
        throw;
      }
    });
    workers_.push_back(std::move(worker));
  }
}

void WorkerEvaluations::AddSolverReportsTo(SolverMessageTally& tally) const {
  for (const std::unique_ptr<Worker>& worker : workers_)
    tally.Absorb(worker->solverMessages);
}

}  // namespace qalto
