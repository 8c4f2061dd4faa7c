#include "app/script_parameters.h"

#include <cctype>

namespace qalto {
namespace {

bool StartsName(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool ContinuesName(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

const std::string& ValueOf(const std::string& name, const ScriptParameters& values,
                           std::set<std::string>& used) {
  auto found = values.find(name);
  if (found == values.end()) throw ParameterError("parameter " + name + " is not set");
  used.insert(name);
  return found->second;
}

}  // namespace

bool IsParameterName(const std::string& name) {
  if (name.empty() || !StartsName(name[0])) return false;
  for (char c : name) {
    if (!ContinuesName(c)) return false;
  }
  return true;
}

std::string ExpandParameters(const std::string& line, const ScriptParameters& values,
                             std::set<std::string>& used) {
  std::string expanded;
  size_t i = 0;
  while (i < line.size()) {
    char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (line[i] != '$' || (next != '$' && next != '{' && !StartsName(next))) {
      expanded += line[i++];
    } else if (next == '$') {
      expanded += '$';
      i += 2;
    } else if (next == '{') {
      size_t close = line.find('}', i + 2);
      std::string name = close == std::string::npos ? "" : line.substr(i + 2, close - i - 2);
      if (!IsParameterName(name)) throw ParameterError("malformed parameter reference ${...}");
      expanded += ValueOf(name, values, used);
      i = close + 1;
    } else {
      size_t end = i + 1;
      while (end < line.size() && ContinuesName(line[end]))
        ++end;
      expanded += ValueOf(line.substr(i + 1, end - i - 1), values, used);
      i = end;
    }
  }
  return expanded;
}

}  // namespace qalto
