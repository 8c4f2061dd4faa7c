#include "app/replace_file.h"

#include <string_view>

#include "common/file_replacement.h"
#include "common/runtime_error.h"

namespace qalto {

std::string WriteWholeFile(const std::string& path, const std::string& contents) {
  try {
    ReplaceFile(path, std::string_view(contents), Durability::kRenamed);
    return "";
  } catch (const RuntimeError& error) {
    return SystemReasonOf(error);
  }
}

}  // namespace qalto
