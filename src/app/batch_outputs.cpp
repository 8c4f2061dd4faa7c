#include "app/batch_outputs.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

namespace qalto {
namespace {

namespace fs = std::filesystem;

// The same file: one file under two names where both exist (links included), else the same
// path once made absolute and resolved as far as it exists.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::exists(a, error) && fs::exists(b, error)) {
    bool same = fs::equivalent(a, b, error);
    return !error && same;
  }
  fs::path first = fs::weakly_canonical(fs::absolute(a, error), error);
  fs::path second = fs::weakly_canonical(fs::absolute(b, error), error);
  return first == second;
}

// One text per file for the names of files that need not exist yet: the absolute path with
// its links and `.` and `..` resolved as far as it exists.
std::string FileKey(const std::string& path) {
  std::error_code error;
  return fs::weakly_canonical(fs::absolute(path, error), error).string();
}

}  // namespace

std::string OutputClash(const BatchOptions& options) {
  std::vector<std::pair<std::string, std::string>> inputs;  // description, path
  if (!options.script.empty() && options.script != "-") {
    inputs.emplace_back("the script", options.script);
  }
  if (!options.manifest.empty()) inputs.emplace_back("the manifest", options.manifest);
  if (!options.dataset.empty()) inputs.emplace_back("the data-set description", options.dataset);
  for (const std::string& record : options.records) {
    if (record != "-") inputs.emplace_back("the record", record);
  }
  std::vector<std::pair<std::string, std::string>> outputs;
  if (!options.out.empty()) outputs.emplace_back("--out", options.out);
  if (!options.json.empty()) outputs.emplace_back("--json", options.json);
  for (const auto& [option, output] : outputs) {
    for (const auto& [what, input] : inputs) {
      if (SameFile(output, input))
        return option + " " + output + " would overwrite " + what + " " + input;
    }
  }
  if (outputs.size() == 2 && SameFile(outputs[0].second, outputs[1].second)) {
    return "--out and --json name the same file: " + options.out;
  }
  return "";
}

std::string TaskOutputClash(const std::vector<long>& tasks,
                            const std::function<BatchOptions(long)>& optionsOf) {
  std::map<std::string, std::string> written;  // file: the option and task that write it
  for (long number : tasks) {
    const BatchOptions task = optionsOf(number);
    if (std::string clash = OutputClash(task); !clash.empty()) return clash;
    for (const auto& [option, name] : {std::pair{"--out", &task.out}, {"--json", &task.json}}) {
      if (name->empty()) continue;
      const std::string writer = std::string(option) + " of task " + std::to_string(number);
      auto [at, added] = written.emplace(FileKey(*name), writer);
      if (!added && at->second != writer)
        return writer + " and " + at->second + " name the same file: " + *name;
    }
  }
  return "";
}

}  // namespace qalto
