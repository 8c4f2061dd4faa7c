#include "fit/fit_threads.h"

namespace qalto {

FitThreads::FitThreads(int count) {
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

void FitThreads::Run(int tasks, const Task& task) {
  if (tasks <= 0) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    task_ = &task;
    tasks_ = tasks;
    monitor_ = RunMonitor::OfThisThread();
    next_ = 0;
    failed_ = false;
    failures_.assign(static_cast<size_t>(tasks), nullptr);
    busy_ = static_cast<int>(threads_.size());
    ++batch_;
  }
  wake_.notify_all();
  Work(0);
  {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return busy_ == 0; });
    task_ = nullptr;
  }
  for (const std::exception_ptr& failure : failures_)
    if (failure) std::rethrow_exception(failure);
}

// A started thread: waits for a batch, does its share, tells the caller it is done.
void FitThreads::Serve(int worker) {
  int served = 0;
  while (true) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this, served] { return ending_ || batch_ != served; });
      if (ending_) return;
      served = batch_;
    }
    {
      RunMonitor::Scope scope(monitor_);
      Work(worker);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (--busy_ == 0) done_.notify_one();
  }
}

// Takes the next task until none is left or one has failed; a task taken is always run, so the
// tasks run are 0..k without a gap and the first failure among them is the serial one.
void FitThreads::Work(int worker) {
  while (!failed_.load()) {
    const int task = next_.fetch_add(1);
    if (task >= tasks_) return;
    try {
      (*task_)(task, worker);
    } catch (...) {
      failures_[static_cast<size_t>(task)] = std::current_exception();
      failed_ = true;
    }
  }
}

}  // namespace qalto
