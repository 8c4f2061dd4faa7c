#include "files/file_format_error.h"

#include "files/read_failure.h"

namespace qalto {

std::string FileFormatError::MessageFor(const std::string& fileName) const {
  std::string where = line_ > 0 ? " in line " + std::to_string(line_) + " of " : " in ";
  return Description() + where + QuotedForMessage(fileName, fileName.size()) + ": expected " +
         expected_ + ", found " + QuotedForMessage(found_, kShownFieldLength);
}

}  // namespace qalto
