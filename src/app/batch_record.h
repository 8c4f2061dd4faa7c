#pragma once
// The machine-readable record of one qalto-batch run, written as JSON: what ran (program
// version, script, manifest task, every parameter, control setting and the noise seed), how it
// ended (exit status, the reason a line stopped it, every message shown) and what it found (the
// fitted values of the last fit and the peaks of the last Find Peak; for chronoamperometry the
// potential steps, for AC voltammetry the sine, the sweep and each harmonic's largest envelope).
// Wall-clock figures sit under the one key "timing", so that two runs of one task differ nowhere
// else.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/script_parameters.h"
#include "model/model.h"

namespace qalto {

struct RunRecord {
  std::string script;  // path as given, "-" for standard input
  std::string manifest;
  std::optional<long> task;
  ScriptParameters parameters;
  std::vector<std::pair<std::string, std::string>> settings;  // control, value, in given order
  std::optional<std::uint64_t> seed;
  int exitStatus = 0;
  std::string error;  // the message on standard error, empty when the run succeeded
  std::vector<std::string> messages;
  double seconds = 0;  // wall-clock time of the run, s
};

// The record as JSON text; the results are read from the model as the script left it.
std::string RunRecordJson(const RunRecord& record, Model& model);

// A fit parameter code as a name: C(s), ks(r), alpha(r), E0(r), kf(i), kb(i), D(s).
std::string FitParameterName(int code);

}  // namespace qalto
