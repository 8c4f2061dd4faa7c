#include "simulation/solver_message_tally.h"

namespace qalto {

SolverMessageTally::Report& SolverMessageTally::Find(const std::string& text) {
  for (Report& known : reports_) {
    if (known.text == text) return known;
  }
  return reports_.emplace_back(Report{text});
}

void SolverMessageTally::Count(const std::string& text) {
  if (run_ == 0) run_ = 1;  // a tally used without StartRun gathers one run
  Report& report = Find(text);
  ++report.steps;
  if (report.lastRun != run_) {
    report.lastRun = run_;
    ++report.runs;
  }
}

void SolverMessageTally::Absorb(const SolverMessageTally& other) {
  for (const Report& theirs : other.reports_) {
    Report& mine = Find(theirs.text);
    mine.steps += theirs.steps;
    mine.runs += theirs.runs;
  }
}

std::vector<std::string> SolverMessageTally::TakeMessages() {
  std::vector<std::string> messages;
  for (const Report& r : reports_) {
    std::string message =
        r.text + " at " + std::to_string(r.steps) + (r.steps == 1 ? " time step" : " time steps");
    if (r.runs > 1) message += " of " + std::to_string(r.runs) + " runs";
    messages.push_back(std::move(message));
  }
  *this = SolverMessageTally();
  return messages;
}

}  // namespace qalto
