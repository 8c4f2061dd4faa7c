#include "app/batch_manifest.h"

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

ScriptParameters ReadManifestTask(std::istream& in, const std::string& name, long task,
                                  std::string& error) {
  if (task < 1) {
    error = "task " + std::to_string(task) + ": tasks are counted from 1";
    return {};
  }
  std::string line;
  long lineNumber = 1;
  if (!std::getline(in, line) || IsBlank(line)) {
    error = name + ": the first line must name the parameters";
    return {};
  }
  // A spreadsheet saving as UTF-8 may put a byte-order mark in front.
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  std::vector<std::string> names = SplitTabs(line);
  error = CheckHeader(names, name + " line 1");
  if (!error.empty()) return {};
  long row = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (IsBlank(line) || ++row < task) continue;
    std::vector<std::string> values = SplitTabs(line);
    if (values.size() != names.size()) {
      error = name + " line " + std::to_string(lineNumber) + ": " + std::to_string(values.size()) +
              " values for " + std::to_string(names.size()) + " parameters";
      return {};
    }
    ScriptParameters parameters;
    for (size_t i = 0; i < names.size(); ++i)
      parameters[names[i]] = values[i];
    return parameters;
  }
  error = "task " + std::to_string(task) + " is beyond the last row of " + name + " (" +
          std::to_string(row) + " tasks)";
  return {};
}

}  // namespace qalto
