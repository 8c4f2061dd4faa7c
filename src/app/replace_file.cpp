#include "app/replace_file.h"

#include <string_view>

#include "common/file_replacement.h"
#include "common/runtime_error.h"

namespace qalto {

bool WriteWholeFile(const std::string& path, const std::string& contents) {
  try {
    ReplaceFile(path, std::string_view(contents), Durability::kRenamed);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace qalto
