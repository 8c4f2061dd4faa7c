#pragma once
// The digital solver reports a trouble at the time step where it meets it (a singular block:
// "Error: inverse matrix D=0") and carries on. Shown as it comes, a run of 100 steps would
// open 100 message boxes and a fit thousands; the tally gathers them into one message per text,
// with how often it came: "Error: inverse matrix D=0 at 103 time steps".

#include <string>
#include <vector>

namespace qalto {

class SolverMessageTally {
 public:
  // One report of the solver at one time step.
  void Count(const std::string& text);
  // Marks the start of another simulation run gathered by the same tally (a fit).
  void StartRun() { ++run_; }
  // Adds the reports of another tally's runs (those of a fit's other thread) as runs of their
  // own; a text this tally has not met comes after those it has.
  void Absorb(const SolverMessageTally& other);
  // One message per distinct text, in the order first met; the tally starts afresh.
  std::vector<std::string> TakeMessages();

 private:
  struct Report {
    std::string text;
    int steps = 0;    // time steps that met it
    int runs = 0;     // runs that met it
    int lastRun = 0;  // the run that met it last
  };
  Report& Find(const std::string& text);

  std::vector<Report> reports_;
  int run_ = 0;
};

}  // namespace qalto
