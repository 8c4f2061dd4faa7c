#include "simulation/solver_message_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/recording_platform.h"

namespace qalto {
namespace {

TEST(SolverMessageTally, OneMessagePerTextWithItsStepsAndRuns) {
  RecordingPlatform platform;
  SolverMessageTally tally;
  tally.StartRun();
  tally.Count("Error: inverse matrix D=0");
  tally.Count("Error: inverse matrix D=0");
  tally.Count("another report");
  tally.StartRun();  // a run without reports
  tally.StartRun();
  tally.Count("Error: inverse matrix D=0");
  tally.Show(platform);
  EXPECT_EQ(platform.messages,
            (std::vector<std::string>{"Error: inverse matrix D=0 at 3 time steps of 2 runs",
                                      "another report at 1 time step"}));
  tally.Show(platform);  // shown once: the tally starts afresh
  EXPECT_EQ(platform.messages.size(), 2u);
}

}  // namespace
}  // namespace qalto
