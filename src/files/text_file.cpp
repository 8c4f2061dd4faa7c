#include "files/text_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
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

}  // namespace

std::ifstream OpenForInput(const std::string& path) {
  if (path.empty()) throw RuntimeError::BadFileName();
  if (IsOtherThanAFile(path)) throw PathFileAccessError();
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) throw OpenFailure(errno, true);
  return file;
}

OutputTextFile::OutputTextFile(const std::string& path) {
  if (path.empty()) throw RuntimeError::BadFileName();
  if (IsOtherThanAFile(path)) throw PathFileAccessError();
  errno = 0;
  // Binary mode: the lines carry their own carriage returns and line feeds.
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) throw OpenFailure(errno, false);
}

OutputTextFile::~OutputTextFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void OutputTextFile::WriteLine(const std::string& line) {
  static const std::string kLineEnd = "\r\n";
  if (file_ == nullptr) throw RuntimeError::BadFileName();  // written after closing
  errno = 0;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
      std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), file_) != kLineEnd.size()) {
    throw WriteFailure(errno);
  }
}

void OutputTextFile::Close() {
  if (file_ == nullptr) return;
  errno = 0;
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) throw WriteFailure(errno);
}

}  // namespace qalto
