#include "common/file_replacement.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

namespace qalto {
namespace {

namespace fs = std::filesystem;

// The description of an errno value met while creating, writing or renaming the file.
const char* WriteFailureDescription(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS:
      return "Permission denied";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    case EFBIG:
      return "File too large";
    case EISDIR:
      return "Path/File access error";
    default:
      return "Device I/O error";
  }
}

FileSystemError WriteFailure(int error) {
  return FileSystemError(WriteFailureDescription(error),
                         error != 0 ? std::strerror(error) : "unknown failure");
}

// The temporary files of the replacements under way, for RemoveTemporaryFiles.
std::mutex temporariesMutex;
std::set<std::string>& Temporaries() {
  static std::set<std::string> temporaries;
  return temporaries;
}

void NoteTemporary(const std::string& path, bool live) {
  std::lock_guard<std::mutex> lock(temporariesMutex);
  if (live) {
    Temporaries().insert(path);
  } else {
    Temporaries().erase(path);
  }
}

// What stops a target before anything is written: a folder, device or pipe in its place (a
// pipe would hold the program up waiting for its other end), or a read-only file, which the
// rename would otherwise replace behind the user's back. Returns the target's status.
fs::file_status CheckTarget(const std::string& path) {
  if (path.empty()) throw RuntimeError::BadFileName();
  std::error_code ignored;
  fs::file_status status = fs::status(path, ignored);
  if (!fs::exists(status)) return status;
  if (fs::is_directory(status)) throw WriteFailure(EISDIR);
  if (!fs::is_regular_file(status)) {
    throw FileSystemError("Path/File access error", "not a regular file");
  }
  if (::access(path.c_str(), W_OK) != 0) throw WriteFailure(errno);
  return status;
}

}  // namespace

std::string SystemReasonOf(const RuntimeError& error) {
  if (const auto* system = dynamic_cast<const FileSystemError*>(&error))
    return system->SystemReason();
  return error.Description();
}

void RemoveTemporaryFiles() {
  std::lock_guard<std::mutex> lock(temporariesMutex);
  for (const std::string& path : Temporaries())
    ::unlink(path.c_str());
  Temporaries().clear();
}

FileReplacement::FileReplacement(std::string path, Durability durability)
    : path_(std::move(path)), durability_(durability) {
  const fs::file_status old = CheckTarget(path_);  // a link's is its file's
  // A link is followed: the file it names is replaced, and the link stays.
  std::error_code ignored;
  if (fs::is_symlink(path_, ignored)) path_ = fs::weakly_canonical(path_, ignored).string();
  fs::path target(path_);
  // A dot name in the same folder: mkstemp makes it unique and creates it for us alone.
  std::string name = ".";
  name += target.filename().string();
  name += ".XXXXXX";
  std::string pattern = (target.parent_path() / name).string();
  errno = 0;
  int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) throw WriteFailure(errno);
  temporary_ = pattern;
  NoteTemporary(temporary_, true);
  file_ = ::fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    int error = errno;
    ::close(descriptor);
    Discard();
    throw WriteFailure(error);
  }
  // mkstemp creates the file readable by its owner alone; a new file gets the usual rights.
  if (fs::exists(old)) {
    fs::permissions(temporary_, old.permissions(), ignored);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    fs::permissions(temporary_, static_cast<fs::perms>(0666 & ~mask), ignored);
  }
}

FileReplacement::~FileReplacement() {
  if (!committed_) Discard();
}

void FileReplacement::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    NoteTemporary(temporary_, false);
  }
  temporary_.clear();
}

void FileReplacement::Write(std::string_view bytes) {
  if (file_ == nullptr) throw RuntimeError::BadFileName();  // written after committing
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) throw WriteFailure(errno);
}

void FileReplacement::Commit() {
  if (file_ == nullptr) throw RuntimeError::BadFileName();
  errno = 0;
  // A full disk often shows only when the buffered tail is flushed or the data synced.
  if (std::fflush(file_) != 0) throw WriteFailure(errno);
  if (durability_ == Durability::kOnDisk && ::fsync(::fileno(file_)) != 0)
    throw WriteFailure(errno);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) throw WriteFailure(errno);
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) throw WriteFailure(errno);
  NoteTemporary(temporary_, false);
  committed_ = true;
}

void ReplaceFile(const std::string& path, std::string_view bytes, Durability durability) {
  FileReplacement file(path, durability);
  file.Write(bytes);
  file.Commit();
}

std::string FileWriteMessage(const std::string& prefix, const std::string& path,
                             const RuntimeError& error) {
  return prefix + "Error: cannot write \"" + path + "\": " + error.Description() +
         "! An earlier file of that name is unchanged.";
}

}  // namespace qalto
