#pragma once
// Parameters of a script run: a line refers to `$name` or `${name}` and the run supplies the
// value (qalto-batch --param name=value, or a row of a manifest). `$$` stands for one `$`; a `$`
// followed by anything but a name or `{` is kept as it is.

#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace qalto {

using ScriptParameters = std::map<std::string, std::string>;

// A reference to a parameter that has no value, or a `${` without its closing brace.
class ParameterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A parameter name: a letter or underscore, then letters, digits and underscores.
bool IsParameterName(const std::string& name);

// The line with every parameter reference replaced by its value; the names met go into `used`.
std::string ExpandParameters(const std::string& line, const ScriptParameters& values,
                             std::set<std::string>& used);

}  // namespace qalto
