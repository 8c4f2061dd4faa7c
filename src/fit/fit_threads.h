#pragma once
// The threads of a fit: started once and kept from fit to fit (BorrowedFitThreads), so that
// neither an iteration nor a fit pays a thread start (a fifth of a millisecond on a virtual
// machine, against a simulation of a tenth of one), and each thread's work tables stay warm. A
// batch of independent tasks is dealt out as the threads become free, the calling thread among
// them. A thread waits for the next batch, and the calling thread for the others, first by giving
// way to other work for about a millisecond and only then asleep: the next batch follows within a
// simulation's time, and a sleeping thread takes up to a tenth of a millisecond to wake on a
// virtual machine. Each thread polls the monitor of the calling thread: Cancel stops every one of
// them at its next simulated point, and the progress they report carries the fit's iteration on.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/run_monitor.h"

namespace qalto {

class FitThreads {
 public:
  // Task `task` of a batch on thread `worker` (0: the calling thread, 1..Count() - 1: the others).
  using Task = std::function<void(int task, int worker)>;
  // A task of a repeatable batch: computes its result into `result`, the thread's own vector.
  using Compute = std::function<void(int task, int worker, std::vector<double>& result)>;
  // Puts the result of a finished task where it belongs.
  using Keep = std::function<void(int task, const std::vector<double>& result)>;

  // `count` threads in all, the calling thread among them: count - 1 are started.
  explicit FitThreads(int count);
  ~FitThreads();
  FitThreads(const FitThreads&) = delete;
  FitThreads& operator=(const FitThreads&) = delete;

  int Count() const { return static_cast<int>(threads_.size()) + 1; }

  // Runs tasks 0..tasks - 1, each once, and returns when every thread has left them. Tasks are
  // taken in their order; once one has failed no further task starts, and the failure of the
  // first failing task in that order is raised, the one a serial loop would have met.
  void Run(int tasks, const Task& task);

  // The same for tasks whose result does not depend on the thread that computes it, each on
  // models of the thread's own. A thread left without a task computes the first task still under
  // way on one other thread as well; the first of the two to finish has its result kept (keep
  // is called once per task, on that thread, before the return) and the other stops at its
  // next simulated point. So the caller never waits for a thread the machine holds back, and a
  // fit on several threads is never slower than on one. compute may still be running on a
  // thread after the return: it must use only what it holds by value and the thread's own
  // models, and leave them fit for the next task when it is stopped (RunCancelled).
  void RunRepeatable(int tasks, Compute compute, const Keep& keep);

  // RunRepeatable's batch, begun while the calling thread runs `first` alone: the started threads
  // work on it meanwhile. When first returns true the caller joins the batch as RunRepeatable
  // does and true is returned. When it returns false or raises, the batch is given up: no task
  // starts any more, those under way stop at their next simulated point, keep is not called again
  // and no task's failure is raised; false is returned, or first's exception raised.
  bool RunRepeatableAfter(const std::function<bool()>& first, int tasks, Compute compute,
                          const Keep& keep);

  // Waits until no started thread computes anything of the batches so far (a task computed
  // twice is stopped at its next point), so that what their tasks used may go.
  void Settle();

 private:
  struct Batch;
  struct Stopper;

  std::shared_ptr<Batch> Start(int tasks);
  std::shared_ptr<Batch> StartRepeatable(int tasks, Compute compute, const Keep& keep);
  // Offers the batch to the started threads.
  void Offer(const std::shared_ptr<Batch>& batch);
  // Offers the batch, works on it on the calling thread and waits for it.
  void Share(const std::shared_ptr<Batch>& batch);
  void GiveUp(Batch& batch);
  static void CloseToKeepers(Batch& batch);
  void Serve(int worker);
  std::shared_ptr<Batch> AwaitBatch(int& served);
  void Work(Batch& batch, int worker);
  int Take(Batch& batch);
  void RunTask(Batch& batch, int task, int worker);
  void Finish(Batch& batch);

  std::vector<std::thread> threads_;
  std::vector<std::unique_ptr<Stopper>> stoppers_;  // one per thread, the calling one first
  std::vector<std::vector<double>> results_;        // one per thread
  // Changed under the mutex, read without it while a thread spins.
  std::mutex mutex_;
  std::condition_variable wake_;  // a batch is there, or the threads are to end
  std::condition_variable done_;  // the last thread has left a batch of Run
  std::atomic<int> batch_{0};     // batches handed out so far
  std::atomic<bool> ending_{false};
  std::shared_ptr<Batch> current_;  // null once settled
  std::atomic<int> working_{0};     // started threads inside a batch
};

// The threads of one fit, taken from those an earlier fit left (or started) and given back,
// settled, when the fit ends: declare it after what its tasks use. Fits running at the same
// time take threads of their own.
class BorrowedFitThreads {
 public:
  explicit BorrowedFitThreads(int count);
  ~BorrowedFitThreads();
  BorrowedFitThreads(const BorrowedFitThreads&) = delete;
  BorrowedFitThreads& operator=(const BorrowedFitThreads&) = delete;

  FitThreads* get() const { return threads_.get(); }

 private:
  std::unique_ptr<FitThreads> threads_;
};

}  // namespace qalto
