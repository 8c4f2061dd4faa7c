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
  std::vector<double> potential;  // V, one per point
  std::vector<double> time;       // s from the start of the run, one per point
  std::vector<double> current;    // A, points x curves, row by row
  std::vector<double> surface;    // mol/L, points x species, row by row (on request)
  std::vector<std::string> speciesNames;
  FitResult fit;  // the last fit that ran to its end (fit.valid false: none)
};

// Runs the request on a new application; a setting that cannot be applied ends the run with
// status 1 and names the setting.
RunOutput RunExperiment(const RunRequest& request);

}  // namespace qalto
