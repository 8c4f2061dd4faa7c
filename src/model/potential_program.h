#pragma once
// The potential program of technique 8 as the user gave it: a table of segments typed in the
// Potential program window, or the E(t) rows of a file. The electrode rests at the program's
// first potential until t = 0; simulation/program_samples.h turns the program into the applied
// potential at every sampling instant.

#include <string>
#include <vector>

namespace qalto {

enum class SegmentKind {
  kHold,   // E held for t
  kSweep,  // E from to E to at the rate v
  kStep,   // a jump to E, held for t (0: the next segment begins at once)
};

struct ProgramSegment {
  SegmentKind kind = SegmentKind::kHold;
  double potential = 0;  // V: the hold's and the step's E, the sweep's E from
  double end = 0;        // V: the sweep's E to
  double rate = 0;       // V/s: the sweep's rate, positive
  double duration = 0;   // s: the hold's and the step's time

  friend bool operator==(const ProgramSegment&, const ProgramSegment&) = default;
};

struct PotentialProgram {
  std::vector<ProgramSegment> segments;  // the typed table, in order
  // The rows of an E(t) file: strictly increasing times (s) and their potentials (V), the
  // potential linear between rows. Used instead of the table when fromFile is set.
  std::vector<double> fileTimes;
  std::vector<double> filePotentials;
  std::string fileName;  // the file's name as the user chose it
  bool fromFile = false;
  // A measured curve's own E(t): the current is wanted at the rows' instants, not every
  // t sample (simulation/program_samples.h).
  bool atRows = false;

  friend bool operator==(const PotentialProgram&, const PotentialProgram&) = default;
};

}  // namespace qalto
