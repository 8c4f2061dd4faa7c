#pragma once
// Writing a whole output file so that a reader never sees half of it: the text goes to a
// temporary file beside the target, which then takes the target's name in one rename.

#include <string>

namespace qalto {

// Writes `contents` to `path` through a temporary beside it; false when either step fails, in
// which case the target is untouched and the temporary removed.
bool ReplaceFile(const std::string& path, const std::string& contents);

}  // namespace qalto
