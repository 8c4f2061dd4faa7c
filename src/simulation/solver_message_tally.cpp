#include "simulation/solver_message_tally.h"

namespace qalto {

void SolverMessageTally::Count(const std::string& text) {
  if (runs_ == 0) runs_ = 1;  // a tally used without StartRun gathers one run
  if (lastReportedRun_ != runs_) {
    lastReportedRun_ = runs_;
    ++runsWithReports_;
  }
  for (auto& [known, count] : counts_) {
    if (known == text) {
      ++count;
      return;
    }
  }
  counts_.emplace_back(text, 1);
}

void SolverMessageTally::Show(Platform& platform) {
  for (const auto& [text, count] : counts_) {
    std::string message =
        text + " at " + std::to_string(count) + (count == 1 ? " time step" : " time steps");
    if (runsWithReports_ > 1) message += " of " + std::to_string(runsWithReports_) + " runs";
    platform.MessageBox(message);
  }
  *this = SolverMessageTally();
}

}  // namespace qalto
