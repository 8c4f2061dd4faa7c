// The threads of a fit: every task of a batch runs once, the failure raised is the one a serial
// loop meets first, the threads outlive a failed batch, Cancel reaches a started thread, a
// held-back thread's task is taken over, and a batch begun before a trial is joined or given up.

#include <gtest/gtest.h>

#include <algorithm>
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

// A thread the machine holds back (here: one that never finishes on its own) does not hold the
// caller: the caller computes its task as well, keeps that result, and the held-back thread
// stops at its next poll.
TEST(FitThreads, RepeatableTaskOfAHeldBackThreadIsTakenOver) {
  const auto start = std::chrono::steady_clock::now();
  const auto limit = start + std::chrono::seconds(20);
  std::vector<int> kept(8, 0);
  {
    FitThreads threads(2);
    for (int batch = 0; batch < 3; ++batch) {
      std::fill(kept.begin(), kept.end(), 0);
      auto compute = [limit](int task, int worker, std::vector<double>& result) {
        while (worker > 0 && std::chrono::steady_clock::now() < limit)
          PollPoint(1, 10);
        result.assign(1, 10.0 * task);
      };
      threads.RunRepeatable(8, compute, [&kept](int task, const std::vector<double>& result) {
        kept[static_cast<size_t>(task)] += result[0] == 10.0 * task ? 1 : 100;
      });
      EXPECT_EQ(kept, std::vector<int>(8, 1)) << "batch " << batch;
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// A batch begun while the caller evaluates a trial: joined, every task is kept once; given up
// (the trial refused, or failed), the task under way on the other thread stops at its next poll,
// nothing is kept after the return and the threads serve the next batch.
TEST(FitThreads, BatchBegunBeforeTheTrialIsJoinedOrGivenUp) {
  enum class Trial { kAccepted, kRefused, kFailed };
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  FitThreads threads(2);
  for (Trial trial : {Trial::kAccepted, Trial::kRefused, Trial::kFailed}) {
    SCOPED_TRACE(static_cast<int>(trial));
    std::atomic<int> started{0};
    std::atomic<bool> stopped{false};
    std::vector<std::atomic<int>> kept(6);
    auto compute = [&](int task, int worker, std::vector<double>& result) {
      ++started;
      try {
        // A refused trial leaves the other thread's task to run until stopped.
        while (trial != Trial::kAccepted && worker > 0 && std::chrono::steady_clock::now() < limit)
          PollPoint(1, 10);
      } catch (const RunCancelled&) {
        stopped = true;
        throw;
      }
      result.assign(1, task);
    };
    auto first = [&] {
      while (started.load() == 0 && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
      if (trial == Trial::kFailed) throw std::runtime_error("trial failed");
      return trial == Trial::kAccepted;
    };
    auto keep = [&kept](int task, const std::vector<double>&) {
      ++kept[static_cast<size_t>(task)];
    };
    bool joined = false;
    if (trial == Trial::kFailed) {
      EXPECT_THROW(threads.RunRepeatableAfter(first, 6, compute, keep), std::runtime_error);
    } else {
      joined = threads.RunRepeatableAfter(first, 6, compute, keep);
    }
    threads.Settle();
    EXPECT_EQ(joined, trial == Trial::kAccepted);
    EXPECT_EQ(stopped.load(), trial != Trial::kAccepted);
    for (const std::atomic<int>& count : kept)
      EXPECT_EQ(count.load(), trial == Trial::kAccepted ? 1 : 0);
  }
  EXPECT_LT(std::chrono::steady_clock::now(), limit);
}

// A fit gives its threads back settled: no task of it still runs on them, the one taken over
// from a held-back thread included. The next fit takes them; fits at the same time get their own.
TEST(FitThreads, ThreadsComeBackSettledForTheNextFit) {
  std::atomic<int> inside{0};
  const FitThreads* first = nullptr;
  {
    BorrowedFitThreads fit(2);
    first = fit.get();
    auto compute = [&inside](int task, int worker, std::vector<double>& result) {
      struct Inside {
        explicit Inside(std::atomic<int>& count) : count(count) { ++count; }
        ~Inside() { --count; }
        std::atomic<int>& count;
      } guard(inside);
      for (int point = 0; worker > 0 && point < 200000; ++point) {
        PollPoint(1, 10);
        std::this_thread::sleep_for(std::chrono::microseconds(10));
      }
      result.assign(1, task);
    };
    fit.get()->RunRepeatable(2, compute, [](int, const std::vector<double>&) {});
  }
  EXPECT_EQ(inside.load(), 0);
  BorrowedFitThreads next(2), meanwhile(2);
  EXPECT_EQ(next.get(), first);
  EXPECT_NE(meanwhile.get(), first);
  std::atomic<int> done{0};
  next.get()->Run(10, [&](int, int) { ++done; });
  EXPECT_EQ(done.load(), 10);
}

}  // namespace
}  // namespace qalto
