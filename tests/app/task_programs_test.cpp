#include "app/task_programs.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace qalto {
namespace {

// The worker runs its jobs in the order given, off the caller's thread, and finishes every job
// still waiting before it ends.
TEST(BackgroundWorker, RunsEveryJobInOrderOnItsOwnThread) {
  std::vector<int> order;
  std::thread::id ranOn;
  {
    BackgroundWorker worker;
    for (int job = 1; job <= 50; ++job)
      worker.Post([&order, &ranOn, job] {
        order.push_back(job);
        ranOn = std::this_thread::get_id();
      });
  }
  ASSERT_EQ(order.size(), 50u);
  for (int job = 1; job <= 50; ++job)
    EXPECT_EQ(order[static_cast<size_t>(job - 1)], job);
  EXPECT_NE(ranOn, std::this_thread::get_id());
}

// A prebuilt program is as fresh as one built on the spot, and a program given back is gone.
TEST(TaskPrograms, PrebuiltProgramIsFresh) {
  TaskPrograms programs;
  std::unique_ptr<TaskProgram> first = programs.Take();
  first->app.model().StartPotential = 0.7;
  programs.Prebuild();
  programs.Discard(std::move(first));
  std::unique_ptr<TaskProgram> second = programs.Take();
  EXPECT_EQ(second->app.model().StartPotential, TaskProgram().app.model().StartPotential);
  EXPECT_NE(second->app.model().StartPotential, 0.7);
  EXPECT_TRUE(second->app.Plot().surface.paintWhenUsed);
}

}  // namespace
}  // namespace qalto
