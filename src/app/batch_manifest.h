#pragma once
// A manifest of tasks: a tab-separated file whose first line names the parameters and whose
// every further non-blank line is one task, numbered from 1, holding one value per parameter.

#include <istream>
#include <string>
#include <vector>

#include "app/script_parameters.h"

namespace qalto {

// A manifest read once, for a run of many tasks.
class Manifest {
 public:
  Manifest(std::istream& in, std::string name);  // `name` names the file in messages
  // The parameters of task `task` (from 1), or an error text in `error`: a header that names
  // no parameter or one twice, a row whose field count differs from the header's, a task
  // number below 1 or beyond the last row.
  ScriptParameters Task(long task, std::string& error) const;

 private:
  struct Row {
    long lineNumber = 0;
    std::string text;
  };
  std::string name_;
  std::string headerError_;
  std::vector<std::string> names_;
  std::vector<Row> rows_;  // the non-blank lines after the header
};

// The parameters of task `task` of the manifest read from `in` (named `name` in messages), or
// an error text in `error`: a header that names no parameter or one twice, a row whose field
// count differs from the header's, a task number below 1 or beyond the last row.
ScriptParameters ReadManifestTask(std::istream& in, const std::string& name, long task,
                                  std::string& error);

}  // namespace qalto
