#pragma once
// The potential program as applied: the instants at which the current is sampled, every
// t sample, and the applied potential over each interval between them. A sample is the end of
// its interval; over the interval the potential moves linearly from its beginning (just after a
// jump, where one stands there) to the sample's potential. Sweeps are sampled as the sweeps of
// technique 1 are: E from, E from + v t sample, ... up to E to, each sample one interval, so
// that a program of sweeps is technique 1's cyclic voltammogram point for point.

#include <optional>
#include <string>
#include <vector>

#include "model/potential_program.h"

namespace qalto {

inline constexpr double kProgramPotentialLimit = 10.0;  // V: a potentiostat's range either way
inline constexpr double kJumpThreshold = 1e-9;          // V

struct ProgramSamples {
  double interval = 0;   // t sample, s
  double firstTime = 0;  // time of sample 0, s (interval for a table; the first row of a file)
  double rest = 0;       // potential at the start of the first interval, before any jump, V
  std::vector<double> potential;  // at sample k, V
  std::vector<double> begin;      // at the start of interval k, just after a jump there, V

  int Count() const { return static_cast<int>(potential.size()); }
  double TimeOf(int k) const { return firstTime + k * interval; }
  // The potential at the sample before interval k (the rest for the first), V.
  double Before(int k) const { return k > 0 ? potential[static_cast<std::size_t>(k - 1)] : rest; }
  // The potential jumps at the start of interval k: by more than kJumpThreshold, which the
  // rounding of a sweep's arithmetic never reaches.
  bool JumpsAt(int k) const;
  bool HasJump() const;
};

// What makes the program impossible at the sampling interval (s), in words the user reads after
// "Input Error: Potential program: ": "segment 2 (sweep): v (V/s) is 0; allowed: greater than
// 0", "no segment (choose a kind in a row)", "120001 points at t sample (s) 0.0001, a curve
// holds at most 100000"; nothing when it can be sampled. intervalCaption names the interval.
std::optional<std::string> ProgramProblem(const PotentialProgram& program, double interval,
                                          double restPotential,
                                          const char* intervalCaption = "t sample (s)");

// The samples of the program every interval (s); a table's program rests at restPotential (V,
// E start) before t = 0, a file's at its first row. Raises "Invalid procedure call or argument: "
// and ProgramProblem's words for a program that cannot be sampled.
ProgramSamples SampleProgram(const PotentialProgram& program, double interval, double restPotential,
                             const char* intervalCaption = "t sample (s)");

// The potential (V) of the file rows at time t (s), linear between rows, the first row's before
// it and the last row's after it.
double FilePotentialAt(const PotentialProgram& program, double t);

}  // namespace qalto
