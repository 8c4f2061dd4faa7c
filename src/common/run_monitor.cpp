#include "common/run_monitor.h"

namespace qalto {
namespace {

thread_local RunMonitor* installed = nullptr;
thread_local RunProgress progress;

void Report() {
  if (installed->cancelRequested.load(std::memory_order_relaxed)) throw RunCancelled{};
  if (installed->report) installed->report(progress);
}

}  // namespace

RunMonitor::Handoff RunMonitor::OfThisThread() {
  return {installed, progress};
}

RunMonitor::Scope::Scope(RunMonitor& monitor) : previous_(installed), previousProgress_(progress) {
  installed = &monitor;
  progress = RunProgress{};
}

RunMonitor::Scope::Scope(const Handoff& handoff)
    : previous_(installed), previousProgress_(progress) {
  installed = handoff.monitor;
  progress = handoff.progress;
}

RunMonitor::Scope::~Scope() {
  installed = previous_;
  progress = previousProgress_;
}

void PollPoint(int done, int total) {
  if (installed == nullptr) return;
  progress.pointsDone = done;
  progress.pointsTotal = total;
  Report();
}

void PollIteration(int iteration, double sumOfSquares) {
  if (installed == nullptr) return;
  progress.iteration = iteration;
  progress.sumOfSquares = sumOfSquares;
  Report();
}

}  // namespace qalto
