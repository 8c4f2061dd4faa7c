#pragma once
// The threads of one fit: started once when the fit begins and ended with it, so that an
// iteration pays no thread start (tens of microseconds each, against a simulation of a tenth of
// a millisecond). A batch of independent tasks is dealt out as the threads become free, the
// calling thread among them, so that a thread the machine holds back leaves its share to the
// others. Each thread polls the monitor of the calling thread: Cancel stops every one of them
// at its next simulated point, and the progress they report carries the fit's iteration on.

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "common/run_monitor.h"

namespace qalto {

class FitThreads {
 public:
  // Task `task` of a batch on thread `worker` (0: the calling thread, 1..Count() - 1: the others).
  using Task = std::function<void(int task, int worker)>;

  // `count` threads in all, the calling thread among them: count - 1 are started.
  explicit FitThreads(int count);
  ~FitThreads();
  FitThreads(const FitThreads&) = delete;
  FitThreads& operator=(const FitThreads&) = delete;

  int Count() const { return static_cast<int>(threads_.size()) + 1; }

  // Runs tasks 0..tasks - 1, each once, and returns when all have ended. Tasks are taken in
  // their order; once one has failed no further task starts, and the failure of the first
  // failing task in that order is raised, the one a serial loop would have met.
  void Run(int tasks, const Task& task);

 private:
  void Serve(int worker);
  void Work(int worker);

  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable wake_;  // a batch is there, or the threads are to end
  std::condition_variable done_;  // the last thread of a batch has finished its share
  int batch_ = 0;                 // batches handed out so far
  int busy_ = 0;                  // threads still working on the batch
  bool ending_ = false;

  // The batch under way: set before the threads wake, read by them until it ends.
  const Task* task_ = nullptr;
  int tasks_ = 0;
  RunMonitor::Handoff monitor_;
  std::atomic<int> next_{0};
  std::atomic<bool> failed_{false};
  std::vector<std::exception_ptr> failures_;
};

}  // namespace qalto
