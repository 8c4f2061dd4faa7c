#pragma once
// The digital solver reports a trouble at the time step where it meets it (a singular block:
// "Error: inverse matrix D=0") and carries on. Shown as it comes, a run of 100 steps would
// open 100 message boxes and a fit thousands; the tally gathers them and shows each text once,
// with how often it came: "Error: inverse matrix D=0 at 103 time steps".

#include <string>
#include <utility>
#include <vector>

#include "ui/platform.h"

namespace qalto {

class SolverMessageTally {
 public:
  // One report of the solver at one time step.
  void Count(const std::string& text);
  // Marks the start of another simulation run gathered by the same tally (a fit).
  void StartRun() { ++runs_; }
  // Shows one message per distinct text, in the order first met, then starts afresh.
  void Show(Platform& platform);

 private:
  std::vector<std::pair<std::string, int>> counts_;  // text and its number of time steps
  int runs_ = 0;
  int runsWithReports_ = 0;  // runs with at least one report
  int lastReportedRun_ = 0;
};

}  // namespace qalto
