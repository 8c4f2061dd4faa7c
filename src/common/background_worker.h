#pragma once
// One thread that runs jobs one after another, in the order they were given, for work that may
// overlap the caller's own.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace qalto {

class BackgroundWorker {
 public:
  BackgroundWorker();
  // Runs the jobs still waiting, then ends the thread.
  ~BackgroundWorker();
  BackgroundWorker(const BackgroundWorker&) = delete;
  BackgroundWorker& operator=(const BackgroundWorker&) = delete;

  // A job must not throw: it reports failure through what it captures (a promise).
  void Post(std::function<void()> job);

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool ending_ = false;
  std::thread thread_;  // last: started once the members it uses exist
};

}  // namespace qalto
