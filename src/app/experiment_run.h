#pragma once
// One run of the program without a user (the Python module, the data-set generator): a fresh
// application, the control settings of an experiment, a script of user actions, and everything
// the run left behind (curves with their times and surface concentrations, the last fit,
// messages), copied out as plain numbers so that the caller needs the application no longer.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/fit_result.h"

namespace qalto {

struct RunRequest {
  std::vector<std::pair<std::string, std::string>> settings;  // control, value (as --set)
  std::string script;                                         // lines of user actions
  std::optional<std::uint64_t> seed;                          // noise seed; none: fixed noise
  bool surfaceConcentrations = false;
  // Without a seed: where the fixed noise generator of an earlier run stopped (0: a new run), so
  // that a sequence of runs draws on as the Simulates of one script do.
  double fixedNoiseState = 0;
};

struct RunOutput {
  int status =
      0;  // the exit status qalto-batch would give (0 ran, 2 line, 3 computation, 4 import)
  std::string error;  // the line that stopped the run or the first failure shown; empty if none
  std::vector<std::string> messages;  // every message box text, in order
  std::string printed;                // what the script's reading actions printed
  int points = 0;
  int curves = 0;
  int species = 0;
  // Per point: the applied potential (V; a potential step's E1 or E2, the frequency in Hz of an
  // impedance spectrum), the time (s: from the start of the run; a step's from the first step;
  // a potential program's and an AC voltammogram's the instant of the point, the end of the
  // rest being point 0's) and the charge passed since the start of the run (C).
  std::vector<double> potential;
  std::vector<double> time;
  std::vector<double> charge;
  std::vector<double> current;  // A (ohm for Z' and Z''), points x curves, row by row
  std::vector<double> surface;  // mol/L, points x species, row by row (on request)
  // An impedance spectrum's frequencies: the store holds Z' at points 1..n, Z'' at n+1..2n.
  int spectrumFrequencies = 0;
  // An AC voltammogram: the DC component (A) and harmonics 1..8's envelopes (A) at each point,
  // points x 9, row by row; the power spectrum's frequencies (Hz) and squared amplitudes (A^2).
  std::vector<double> harmonics;
  std::vector<double> spectrumFrequency;
  std::vector<double> spectrumPower;
  std::vector<std::string> speciesNames;
  FitResult fit;               // the last fit that ran to its end (fit.valid false: none)
  double fixedNoiseState = 0;  // where the fixed noise generator stopped (0: it did not run)
};

// Runs the request on a new application; a setting that cannot be applied ends the run with
// status 1 and names the setting.
RunOutput RunExperiment(const RunRequest& request);

}  // namespace qalto
