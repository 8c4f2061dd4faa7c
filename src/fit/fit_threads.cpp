#include "fit/fit_threads.h"

#include <algorithm>
#include <climits>
#include <exception>

namespace qalto {
namespace {

constexpr int kOpen = 0;     // no thread has finished the task
constexpr int kKeeping = 1;  // the first thread to finish it is keeping its result
constexpr int kDone = 2;
constexpr int kClosed = 1 << 30;  // in Batch::inside: the caller waits for no newcomer

// A turn gives way to other work once: about a microsecond on an idle machine.
constexpr int kSpinTurns = 1000;

// Gives way to other work until the condition holds or the turns are used up; true when it
// holds.
template <typename Condition>
bool SpinUntil(Condition holds) {
  for (int turn = 0; turn < kSpinTurns; ++turn) {
    if (holds()) return true;
    std::this_thread::yield();
  }
  return holds();
}

size_t At(int i) {
  return static_cast<size_t>(i);
}

}  // namespace

struct FitThreads::Batch {
  explicit Batch(int count)
      : tasks(count), runners(At(count)), state(At(count)), failures(At(count)) {}
  // The tasks a serial loop would run: all, or those up to the first that failed.
  int Limit() const {
    if (givenUp.load()) return 0;
    const int failed = firstFailure.load();
    return failed == INT_MAX ? tasks : std::min(tasks, failed + 1);
  }

  int tasks;
  bool repeatable = false;
  const Task* task = nullptr;  // Run's
  Compute compute;             // RunRepeatable's, held here for threads that finish late
  const Keep* keep = nullptr;
  RunMonitor::Handoff monitor;            // the calling thread's
  std::atomic<int> next{0};               // the next task no thread has taken
  std::vector<std::atomic<int>> runners;  // threads computing the task
  std::vector<std::atomic<int>> state;    // kOpen, kKeeping, kDone
  std::vector<std::exception_ptr> failures;
  std::atomic<int> firstFailure{INT_MAX};
  std::atomic<bool> givenUp{false};
  // Run's: started threads inside the batch; RunRepeatable's: threads keeping a result. Plus
  // kClosed once the caller no longer waits for a newcomer.
  std::atomic<int> inside{0};
};

// The monitor a thread computes a repeatable task under: it stops the computation once another
// thread has finished the task, and passes the caller's Cancel and progress on.
struct FitThreads::Stopper {
  Stopper() {
    monitor.report = [this](const RunProgress& progress) {
      if (batch->state[At(task)].load() != kOpen || batch->givenUp.load()) throw RunCancelled{};
      RunMonitor* caller = batch->monitor.monitor;
      if (caller == nullptr) return;
      if (caller->cancelRequested.load(std::memory_order_relaxed)) throw RunCancelled{};
      if (caller->report) caller->report(progress);
    };
  }
  RunMonitor monitor;
  const Batch* batch = nullptr;
  int task = 0;
};

FitThreads::FitThreads(int count) {
  for (int worker = 0; worker < std::max(1, count); ++worker) {
    stoppers_.push_back(std::make_unique<Stopper>());
    results_.emplace_back();
  }
  for (int worker = 1; worker < count; ++worker)
    threads_.emplace_back([this, worker] { Serve(worker); });
}

FitThreads::~FitThreads() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_)
    thread.join();
}

std::shared_ptr<FitThreads::Batch> FitThreads::Start(int tasks) {
  auto batch = std::make_shared<Batch>(tasks);
  batch->monitor = RunMonitor::OfThisThread();
  return batch;
}

void FitThreads::Run(int tasks, const Task& task) {
  if (tasks <= 0) return;
  std::shared_ptr<Batch> batch = Start(tasks);
  batch->task = &task;
  Share(batch);
}

std::shared_ptr<FitThreads::Batch> FitThreads::StartRepeatable(int tasks, Compute compute,
                                                               const Keep& keep) {
  std::shared_ptr<Batch> batch = Start(tasks);
  batch->repeatable = true;
  batch->compute = std::move(compute);
  batch->keep = &keep;
  return batch;
}

void FitThreads::RunRepeatable(int tasks, Compute compute, const Keep& keep) {
  if (tasks <= 0) return;
  Share(StartRepeatable(tasks, std::move(compute), keep));
}

bool FitThreads::RunRepeatableAfter(const std::function<bool()>& first, int tasks, Compute compute,
                                    const Keep& keep) {
  std::shared_ptr<Batch> batch = StartRepeatable(std::max(0, tasks), std::move(compute), keep);
  Offer(batch);
  bool joined = false;
  try {
    joined = first();
  } catch (...) {
    GiveUp(*batch);
    throw;
  }
  if (!joined) {
    GiveUp(*batch);
    return false;
  }
  Work(*batch, 0);
  Finish(*batch);
  return true;
}

void FitThreads::Offer(const std::shared_ptr<Batch>& batch) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = batch;
    ++batch_;
  }
  wake_.notify_all();
}

void FitThreads::Share(const std::shared_ptr<Batch>& batch) {
  Offer(batch);
  Work(*batch, 0);
  Finish(*batch);
}

// A repeatable batch keeps no more results: a thread keeping one (of a later task, or of a task
// under way) ends before the caller goes on.
void FitThreads::CloseToKeepers(Batch& batch) {
  batch.inside.fetch_or(kClosed);
  while ((batch.inside.load() & ~kClosed) != 0)
    std::this_thread::yield();
}

// No task starts any more and those under way stop at their next point; a thread keeping a
// result ends before the caller goes on, and the failures of the batch are not raised.
void FitThreads::GiveUp(Batch& batch) {
  batch.givenUp = true;
  CloseToKeepers(batch);
}

// A started thread: waits for a batch and does what it can of it. Inside Run's batch it counts
// itself, so that the caller waits for it; it does not enter one the caller has closed.
void FitThreads::Serve(int worker) {
  int served = 0;
  while (std::shared_ptr<Batch> batch = AwaitBatch(served)) {
    if (batch->repeatable) {
      Work(*batch, worker);
      --working_;
      continue;
    }
    if ((batch->inside.fetch_add(1) & kClosed) == 0) Work(*batch, worker);
    if (batch->inside.fetch_sub(1) == kClosed + 1) {
      std::lock_guard<std::mutex> lock(mutex_);
      done_.notify_all();
    }
    --working_;
  }
}

// The batch after `served`, counted as worked in; none when the threads are to end. A batch
// settled before this thread came to it is passed by.
std::shared_ptr<FitThreads::Batch> FitThreads::AwaitBatch(int& served) {
  auto ready = [this, &served] { return ending_ || batch_ != served; };
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
    if (!SpinUntil(ready)) {
      lock.lock();
      wake_.wait(lock, ready);
    } else {
      lock.lock();
    }
    if (ending_) return nullptr;
    served = batch_;
    if (current_) {
      ++working_;
      return current_;
    }
  }
}

void FitThreads::Settle() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = nullptr;
  }
  while (working_.load() != 0)
    std::this_thread::yield();
}

void FitThreads::Work(Batch& batch, int worker) {
  for (int task = Take(batch); task >= 0; task = Take(batch))
    RunTask(batch, task, worker);
}

// The next task no thread has taken, in order; else, in a repeatable batch, the first task that
// one other thread computes and none has finished; -1 when there is neither.
int FitThreads::Take(Batch& batch) {
  const int limit = batch.Limit();
  if (batch.next.load() < limit) {
    const int task = batch.next.fetch_add(1);
    if (task < limit) {
      ++batch.runners[At(task)];
      return task;
    }
  }
  if (!batch.repeatable) return -1;
  for (int task = 0; task < limit; ++task) {
    if (batch.state[At(task)].load() != kOpen) continue;
    int one = 1;
    if (batch.runners[At(task)].compare_exchange_strong(one, 2)) return task;
  }
  return -1;
}

// Computes the task; the first thread to finish it keeps its result or its failure.
void FitThreads::RunTask(Batch& batch, int task, int worker) {
  std::exception_ptr failure;
  try {
    if (batch.repeatable) {
      Stopper& stopper = *stoppers_[At(worker)];
      stopper.batch = &batch;
      stopper.task = task;
      RunMonitor::Scope scope(RunMonitor::Handoff{&stopper.monitor, batch.monitor.progress});
      batch.compute(task, worker, results_[At(worker)]);
    } else if (worker == 0) {
      (*batch.task)(task, worker);
    } else {
      RunMonitor::Scope scope(batch.monitor);
      (*batch.task)(task, worker);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  --batch.runners[At(task)];
  // A repeatable batch the caller has left keeps nothing more.
  if (batch.repeatable && (batch.inside.fetch_add(1) & kClosed) != 0) {
    batch.inside.fetch_sub(1);
    return;
  }
  int open = kOpen;
  if (batch.state[At(task)].compare_exchange_strong(open, kKeeping)) {
    if (failure) {
      batch.failures[At(task)] = failure;
      int first = batch.firstFailure.load();
      while (task < first && !batch.firstFailure.compare_exchange_weak(first, task)) {
      }
    } else if (batch.repeatable) {
      (*batch.keep)(task, results_[At(worker)]);
    }
    batch.state[At(task)].store(kDone);
  }
  if (batch.repeatable) batch.inside.fetch_sub(1);
}

// The calling thread, its own share done: a repeatable batch ends when every task a serial loop
// would run is kept, the caller computing any still under way; Run's when every started thread
// that entered it has left. Then the first failure is raised.
void FitThreads::Finish(Batch& batch) {
  if (batch.repeatable) {
    auto kept = [&batch] {
      for (int task = 0; task < batch.Limit(); ++task)
        if (batch.state[At(task)].load() != kDone) return false;
      return true;
    };
    while (!kept()) {
      const int task = Take(batch);
      if (task >= 0) {
        RunTask(batch, task, 0);
      } else {
        std::this_thread::yield();
      }
    }
    CloseToKeepers(batch);
  } else {
    batch.inside.fetch_or(kClosed);
    auto left = [&batch] { return (batch.inside.load() & ~kClosed) == 0; };
    if (!SpinUntil(left)) {
      std::unique_lock<std::mutex> lock(mutex_);
      done_.wait(lock, left);
    }
  }
  const int first = batch.firstFailure.load();
  if (first != INT_MAX) std::rethrow_exception(batch.failures[At(first)]);
}

namespace {

// The threads fits have given back, by count, kept for the next fit.
std::mutex spareMutex;
std::vector<std::unique_ptr<FitThreads>>& SpareThreads() {
  static std::vector<std::unique_ptr<FitThreads>> spare;
  return spare;
}

// A few sets are kept: as many as fits ever run at the same time, in practice one or two.
constexpr size_t kMostSpareSets = 4;

}  // namespace

BorrowedFitThreads::BorrowedFitThreads(int count) {
  {
    std::lock_guard<std::mutex> lock(spareMutex);
    auto& spare = SpareThreads();
    // The set given back last, whose threads' work tables are the warmest.
    for (auto at = spare.end(); at != spare.begin();) {
      if ((*--at)->Count() != count) continue;
      threads_ = std::move(*at);
      spare.erase(at);
      break;
    }
  }
  if (!threads_) threads_ = std::make_unique<FitThreads>(count);
}

BorrowedFitThreads::~BorrowedFitThreads() {
  threads_->Settle();
  std::lock_guard<std::mutex> lock(spareMutex);
  auto& spare = SpareThreads();
  if (spare.size() == kMostSpareSets) spare.erase(spare.begin());
  spare.push_back(std::move(threads_));
}

}  // namespace qalto
