#pragma once
// A manifest of tasks: a tab-separated file whose first line names the parameters and whose
// every further non-blank line is one task, numbered from 1, holding one value per parameter.

#include <istream>
#include <string>

#include "app/script_parameters.h"

namespace qalto {

// The parameters of task `task` of the manifest read from `in` (named `name` in messages), or
// an error text in `error`: a header that names no parameter or one twice, a row whose field
// count differs from the header's, a task number below 1 or beyond the last row.
ScriptParameters ReadManifestTask(std::istream& in, const std::string& name, long task,
                                  std::string& error);

}  // namespace qalto
