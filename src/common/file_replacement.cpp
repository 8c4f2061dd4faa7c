#include "common/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
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
// rename would otherwise replace behind the user's back. `status` is the target's, a link's
// being its file's.
void CheckTarget(const std::string& path, const fs::file_status& status) {
  if (!fs::exists(status)) return;
  if (fs::is_directory(status)) throw WriteFailure(EISDIR);
  if (!fs::is_regular_file(status)) {
    throw FileSystemError("Path/File access error", "not a regular file");
  }
  if (::access(path.c_str(), W_OK) != 0) throw WriteFailure(errno);
}

// Creates a file of a new name `stem` + six letters for this writer alone (as mkstemp does),
// with the rights a new file gets (0666 less the process's mask); returns its descriptor and
// puts its name in `name`, or -1 with errno set.
int CreateUniqueFile(const std::string& stem, std::string& name) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<uint64_t>(::getpid())};
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    name = stem;
    for (int i = 0; i < 6; ++i)
      name += kLetters[random() % (sizeof kLetters - 1)];
    const int descriptor = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;  // errno is EEXIST
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
  if (path_.empty()) throw RuntimeError::BadFileName();
  std::error_code ignored;
  const fs::file_status own = fs::symlink_status(path_, ignored);
  // A link is followed: the file it names is checked and replaced, and the link stays.
  const bool link = fs::is_symlink(own);
  const fs::file_status old = link ? fs::status(path_, ignored) : own;
  CheckTarget(path_, old);
  if (link) path_ = fs::weakly_canonical(path_, ignored).string();
  fs::path target(path_);
  // A dot name in the same folder, unique and created for this writer alone.
  std::string name = ".";
  name += target.filename().string();
  name += ".";
  const std::string stem = (target.parent_path() / name).string();
  errno = 0;
  descriptor_ = CreateUniqueFile(stem, temporary_);
  if (descriptor_ < 0) {
    temporary_.clear();
    throw WriteFailure(errno);
  }
  NoteTemporary(temporary_, true);
  // The replacement keeps the rights of the file it replaces; a new file has the usual ones.
  if (fs::exists(old)) ::fchmod(descriptor_, static_cast<mode_t>(old.permissions()));
}

FileReplacement::~FileReplacement() {
  if (!committed_) Discard();
}

void FileReplacement::Discard() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    NoteTemporary(temporary_, false);
  }
  temporary_.clear();
}

void FileReplacement::Write(std::string_view bytes) {
  if (descriptor_ < 0) throw RuntimeError::BadFileName();  // written after committing
  if (pending_.size() + bytes.size() < kPendingLimit) {
    pending_ += bytes;
    return;
  }
  // A large piece goes out as it is, after what was gathered before it, without a copy.
  WriteAll(pending_);
  pending_.clear();
  WriteAll(bytes);
}

void FileReplacement::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    errno = 0;
    const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) throw WriteFailure(errno);
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void FileReplacement::Commit() {
  if (descriptor_ < 0) throw RuntimeError::BadFileName();
  // A full disk often shows only when the pending tail is written or the data synced.
  WriteAll(pending_);
  pending_.clear();
  errno = 0;
  if (durability_ == Durability::kOnDisk && ::fsync(descriptor_) != 0) throw WriteFailure(errno);
  const int descriptor = descriptor_;
  descriptor_ = -1;
  if (::close(descriptor) != 0) throw WriteFailure(errno);
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
