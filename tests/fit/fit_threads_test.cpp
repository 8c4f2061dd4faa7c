// The threads of a fit: every task of a batch runs once, the failure raised is the one a serial
// loop meets first, the threads outlive a failed batch, and Cancel reaches a started thread.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/run_monitor.h"
#include "fit/fit_threads.h"

namespace qalto {
namespace {

TEST(FitThreads, EveryTaskOfEveryBatchRunsOnce) {
  FitThreads threads(3);
  ASSERT_EQ(threads.Count(), 3);
  for (int batch = 0; batch < 20; ++batch) {
    std::vector<std::atomic<int>> runs(97);
    threads.Run(97, [&](int task, int worker) {
      ASSERT_TRUE(worker >= 0 && worker < 3);
      ++runs[static_cast<size_t>(task)];
    });
    for (const std::atomic<int>& count : runs)
      ASSERT_EQ(count.load(), 1) << "batch " << batch;
  }
}

TEST(FitThreads, FirstFailureInTaskOrderIsRaised) {
  FitThreads threads(2);
  std::vector<std::atomic<int>> runs(60);
  auto failing = [&](int task, int) {
    ++runs[static_cast<size_t>(task)];
    if (task == 17 || task == 40) throw std::runtime_error("task " + std::to_string(task));
  };
  try {
    threads.Run(60, failing);
    ADD_FAILURE() << "no failure raised";
  } catch (const std::runtime_error& failure) {
    EXPECT_STREQ(failure.what(), "task 17");
  }
  for (int task = 0; task <= 17; ++task)
    EXPECT_EQ(runs[static_cast<size_t>(task)].load(), 1) << task;
  // The threads serve the next batch.
  std::atomic<int> done{0};
  threads.Run(10, [&](int, int) { ++done; });
  EXPECT_EQ(done.load(), 10);
}

TEST(FitThreads, CancelReachesTheStartedThread) {
  FitThreads threads(2);
  RunMonitor monitor;
  RunMonitor::Scope scope(monitor);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::atomic<int> started{0};
  std::atomic<bool> otherStopped{false};
  auto task = [&](int, int worker) {
    // Both threads hold a task; the calling thread then asks for the stop.
    ++started;
    while (started.load() < 2 && std::chrono::steady_clock::now() < limit)
      std::this_thread::yield();
    if (worker == 0) monitor.cancelRequested = true;
    try {
      while (std::chrono::steady_clock::now() < limit)
        PollPoint(1, 10);  // a simulation's poll
    } catch (const RunCancelled&) {
      if (worker > 0) otherStopped = true;
      throw;
    }
  };
  EXPECT_THROW(threads.Run(2, task), RunCancelled);
  EXPECT_TRUE(otherStopped.load());
}

}  // namespace
}  // namespace qalto
