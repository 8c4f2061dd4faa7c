#include "files/text_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/runtime_error.h"

namespace qalto {
namespace {

// Folders, devices and pipes are no data files; a pipe would hold the program up waiting for
// its other end.
bool IsOtherThanAFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::file_status status = std::filesystem::status(path, ignored);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

// The run-time library's descriptions of a file that cannot be opened for reading.
RuntimeError OpenFailure(int error) {
  switch (error) {
    case ENOENT:
      return RuntimeError::FileNotFound();
    case ENOTDIR:
      return RuntimeError("Path not found");
    case EACCES:
    case EPERM:
      return RuntimeError("Permission denied");
    default:
      return RuntimeError("Path/File access error");
  }
}

}  // namespace

std::ifstream OpenForInput(const std::string& path) {
  if (path.empty()) throw RuntimeError::BadFileName();
  if (IsOtherThanAFile(path)) throw RuntimeError("Path/File access error");
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) throw OpenFailure(errno);
  return file;
}

void OutputTextFile::WriteLine(const std::string& line) {
  file_.Write(line);
  file_.Write("\r\n");
}

}  // namespace qalto
