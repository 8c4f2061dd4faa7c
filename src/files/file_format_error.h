#pragma once
// A measurement file that is not understood, placed where it goes wrong: the line, what the
// reader expected there and what it found. The import adds the file's name:
//   Type mismatch in line 33 of "cv.txt": expected a number in column "Current/A", found "x"

#include <string>

#include "common/runtime_error.h"

namespace qalto {

class FileFormatError : public RuntimeError {
 public:
  FileFormatError(const std::string& description, int line, std::string expected, std::string found)
      : RuntimeError(description),
        line_(line),
        expected_(std::move(expected)),
        found_(std::move(found)) {}

  int Line() const { return line_; }  // 1 for the first line; 0 for the file as a whole
  const std::string& Expected() const { return expected_; }
  const std::string& Found() const { return found_; }  // as read, before quoting

  // The whole message, naming the file.
  std::string MessageFor(const std::string& fileName) const;

 private:
  int line_;
  std::string expected_;
  std::string found_;
};

}  // namespace qalto
