#pragma once
// Opening, reading and writing the program's text files, with failures turned into a
// RuntimeError carrying the run-time library's description ("File not found", "Permission
// denied", "Disk full", ...).

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace qalto {

// Where a writer sends its text, one line at a time, without the line end.
using LineSink = std::function<void(const std::string& line)>;

// Opens an existing file for reading (in binary mode: line ends are the reader's business).
std::ifstream OpenForInput(const std::string& path);

// A text file written line by line, each line ended by carriage return and line feed. What
// was written before a failure stays in the file; the file is closed in every case.
class OutputTextFile {
 public:
  // Creates (or empties) the file; raises when it cannot be created.
  explicit OutputTextFile(const std::string& path);
  ~OutputTextFile();
  OutputTextFile(const OutputTextFile&) = delete;
  OutputTextFile& operator=(const OutputTextFile&) = delete;

  // Raises when the write fails.
  void WriteLine(const std::string& line);
  // Writes the buffered tail and closes; raises when that fails (a full disk may show only
  // here).
  void Close();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace qalto
