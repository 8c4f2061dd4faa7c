#pragma once
// The batch runner's outputs written whole: through a temporary file beside the target, which
// takes the target's name only when complete, so a reader never sees half of a record. The
// rename is all a reader needs, so the data are not forced to the disk first.

#include <string>

namespace qalto {

// Writes `contents` to `path`; the system's reason of a failure ("No space left on device",
// "Permission denied", "Is a directory"), the target then untouched; empty on success.
std::string WriteWholeFile(const std::string& path, const std::string& contents);

}  // namespace qalto
