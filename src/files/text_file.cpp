#include "files/text_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/runtime_error.h"

namespace qalto {
namespace {

// The run-time library's descriptions of file failures.
RuntimeError PathFileAccessError() {
  return RuntimeError("Path/File access error");
}
RuntimeError PathNotFound() {
  return RuntimeError("Path not found");
}
RuntimeError PermissionDenied() {
  return RuntimeError("Permission denied");
}
RuntimeError DiskFull() {
  return RuntimeError("Disk full");
}
RuntimeError DeviceIoError() {
  return RuntimeError("Device I/O error");
}

// Folders, devices and pipes are no data files; a pipe would hold the program up waiting for
// its other end.
bool IsOtherThanAFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::file_status status = std::filesystem::status(path, ignored);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

RuntimeError OpenFailure(int error, bool forReading) {
  switch (error) {
    case ENOENT:
      return forReading ? RuntimeError::FileNotFound() : PathNotFound();
    case ENOTDIR:
      return PathNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
      return PermissionDenied();
    case ENOSPC:
      return DiskFull();
    default:
      return PathFileAccessError();
  }
}

RuntimeError WriteFailure(int error) {
  return error == ENOSPC ? DiskFull() : DeviceIoError();
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::ifstream OpenForInput(const std::string& path) {
  if (path.empty()) throw RuntimeError::BadFileName();
  if (IsOtherThanAFile(path)) throw PathFileAccessError();
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) throw OpenFailure(errno, true);
  return file;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  if (path.empty()) throw RuntimeError::BadFileName();
  if (IsOtherThanAFile(path)) throw PathFileAccessError();
  errno = 0;
  // Binary mode: the text carries its own carriage returns and line feeds.
  std::FILE* opened = std::fopen(path.c_str(), "wb");
  if (opened == nullptr) throw OpenFailure(errno, false);
  std::unique_ptr<std::FILE, FileCloser> file(opened);
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
      std::fflush(file.get()) != 0) {
    throw WriteFailure(errno);
  }
  errno = 0;
  // A full disk may show only when the buffered tail is written at closing.
  if (std::fclose(file.release()) != 0) throw WriteFailure(errno);
}

}  // namespace qalto
