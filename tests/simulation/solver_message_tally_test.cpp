#include "simulation/solver_message_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qalto {
namespace {

TEST(SolverMessageTally, OneMessagePerTextWithItsStepsAndRuns) {
  SolverMessageTally tally;
  tally.StartRun();
  tally.Count("Error: inverse matrix D=0");
  tally.Count("Error: inverse matrix D=0");
  tally.Count("another report");
  tally.StartRun();  // a run without reports
  tally.StartRun();
  tally.Count("Error: inverse matrix D=0");
  EXPECT_EQ(tally.TakeMessages(),
            (std::vector<std::string>{"Error: inverse matrix D=0 at 3 time steps of 2 runs",
                                      "another report at 1 time step"}));
  EXPECT_TRUE(tally.TakeMessages().empty());  // taken once: the tally starts afresh
}

// A fit's other thread gathers its runs' reports in a tally of its own; they join the fit's.
TEST(SolverMessageTally, AbsorbsTheRunsOfAnotherTally) {
  SolverMessageTally fit, thread;
  fit.StartRun();
  fit.Count("Error: inverse matrix D=0");
  for (int run = 0; run < 3; ++run) {
    thread.StartRun();
    thread.Count("Error: inverse matrix D=0");
    thread.Count("another report");
  }
  fit.Absorb(thread);
  fit.Count("Error: inverse matrix D=0");  // the fit's own run, counted once
  EXPECT_EQ(fit.TakeMessages(),
            (std::vector<std::string>{"Error: inverse matrix D=0 at 5 time steps of 4 runs",
                                      "another report at 3 time steps of 3 runs"}));
}

}  // namespace
}  // namespace qalto
