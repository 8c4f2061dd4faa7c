#pragma once
// Opening, reading and writing the program's text files, with failures turned into a
// RuntimeError carrying the run-time library's description ("File not found", "Permission
// denied", "Disk full", ...).

#include <fstream>
#include <functional>
#include <string>

#include "common/file_replacement.h"

namespace qalto {

// Where a writer sends its text, one line at a time, without the line end.
using LineSink = std::function<void(const std::string& line)>;

// Opens an existing file for reading (in binary mode: line ends are the reader's business).
std::ifstream OpenForInput(const std::string& path);

// A text file written line by line, each line ended by carriage return and line feed. The
// file appears under its name only when Close succeeds; after any failure, or when the object
// goes away unclosed, an earlier file of that name is left as it was.
class OutputTextFile {
 public:
  // Raises when the file cannot be created (missing folder, read-only file, no plain file).
  explicit OutputTextFile(const std::string& path) : file_(path) {}

  // Raises when the write fails.
  void WriteLine(const std::string& line);
  // Writes the buffered tail and puts the file in place; raises when that fails (a full disk
  // may show only here).
  void Close() { file_.Commit(); }

 private:
  FileReplacement file_;
};

}  // namespace qalto
