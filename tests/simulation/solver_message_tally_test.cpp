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

}  // namespace
}  // namespace qalto
