#pragma once
// Writing a file as a whole or not at all. The bytes go to a temporary file beside the target
// (same folder, so same file system), which is flushed (to the disk, for the user's own saves)
// and renamed over the target only when everything is written; a failure at any point removes the
// temporary file and leaves an earlier file of that name byte for byte as it was. Failures raise a
// RuntimeError with the run-time library's description ("Path not found", "Permission denied",
// "Disk full").

#include <cstddef>
#include <string>
#include <string_view>

#include "common/runtime_error.h"

namespace qalto {

// What Commit waits for: the data on the disk, so that the file outlives a power cut (the user's
// own saves), or only the rename, which readers see whole all the same (the batch runner's
// records and curves, thousands of them in a grid).
enum class Durability { kOnDisk, kRenamed };

// A failure of the file system: the description the program shows, and the system's own
// reason (strerror) for the batch runner's messages.
class FileSystemError : public RuntimeError {
 public:
  FileSystemError(const std::string& description, std::string systemReason)
      : RuntimeError(description), systemReason_(std::move(systemReason)) {}
  const std::string& SystemReason() const { return systemReason_; }

 private:
  std::string systemReason_;
};

// The system's reason of a failed write: the strerror text of a FileSystemError, the
// description of any other run-time error.
std::string SystemReasonOf(const RuntimeError& error);

// Removes every temporary file that a FileReplacement of this process holds at the moment: the
// last act of a program ended from outside (a signal), which runs no destructors.
void RemoveTemporaryFiles();

class FileReplacement {
 public:
  // Creates the temporary file; raises when the target's folder is missing, the target is
  // read-only or is no plain file, or the name is empty.
  explicit FileReplacement(std::string path, Durability durability = Durability::kOnDisk);
  // Removes the temporary file unless Commit succeeded.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Write(std::string_view bytes);
  // Flushes, closes and renames the temporary file over the target.
  void Commit();

 private:
  void Discard();

  std::string path_;
  std::string temporary_;
  Durability durability_;
  static constexpr size_t kPendingLimit = 1 << 16;  // bytes held before they are written

  // Hands bytes to the system, all of them.
  void WriteAll(std::string_view bytes);

  int descriptor_ = -1;  // the temporary file's, until Commit closes it
  std::string pending_;  // written but not yet handed to the system
  bool committed_ = false;
};

// The whole file in one call.
void ReplaceFile(const std::string& path, std::string_view bytes,
                 Durability durability = Durability::kOnDisk);

// The message of a failed write, naming the file and the reason:
// "Export Error: cannot write \"out.csv\": Disk full! An earlier file of that name is unchanged."
std::string FileWriteMessage(const std::string& prefix, const std::string& path,
                             const RuntimeError& error);

}  // namespace qalto
