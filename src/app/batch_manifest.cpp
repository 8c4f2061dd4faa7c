#include "app/batch_manifest.h"

#include <utility>
#include <vector>

#include "app/invisible_characters.h"

namespace qalto {
namespace {

std::vector<std::string> SplitTabs(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

std::string CheckHeader(const std::vector<std::string>& names, const std::string& where) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (!IsParameterName(names[i])) {
      return where + ": not a parameter name: \"" + names[i] + "\"" +
             InvisibleCharactersNote(names[i]);
    }
    for (size_t j = 0; j < i; ++j) {
      if (names[j] == names[i]) return where + ": parameter " + names[i] + " named twice";
    }
  }
  return "";
}

}  // namespace

Manifest::Manifest(std::istream& in, std::string name) : name_(std::move(name)) {
  std::string line;
  if (!std::getline(in, line) || IsBlank(line)) {
    headerError_ = name_ + ": the first line must name the parameters";
    return;
  }
  // A spreadsheet saving as UTF-8 may put a byte-order mark in front.
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  names_ = SplitTabs(line);
  headerError_ = CheckHeader(names_, name_ + " line 1");
  if (!headerError_.empty()) return;
  long lineNumber = 1;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!IsBlank(line)) rows_.push_back({lineNumber, line});
  }
}

ScriptParameters Manifest::Task(long task, std::string& error) const {
  if (task < 1) {
    error = "task " + std::to_string(task) + ": tasks are counted from 1";
    return {};
  }
  if (!headerError_.empty()) {
    error = headerError_;
    return {};
  }
  if (task > static_cast<long>(rows_.size())) {
    error = "task " + std::to_string(task) + " is beyond the last row of " + name_ + " (" +
            std::to_string(rows_.size()) + " tasks)";
    return {};
  }
  const Row& row = rows_[static_cast<size_t>(task - 1)];
  std::vector<std::string> values = SplitTabs(row.text);
  if (values.size() != names_.size()) {
    error = name_ + " line " + std::to_string(row.lineNumber) + ": " +
            std::to_string(values.size()) + " values for " + std::to_string(names_.size()) +
            " parameters";
    return {};
  }
  ScriptParameters parameters;
  for (size_t i = 0; i < names_.size(); ++i)
    parameters[names_[i]] = values[i];
  return parameters;
}

ScriptParameters ReadManifestTask(std::istream& in, const std::string& name, long task,
                                  std::string& error) {
  return Manifest(in, name).Task(task, error);
}

}  // namespace qalto
