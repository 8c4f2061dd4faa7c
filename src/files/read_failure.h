#pragma once
// How a failed import tells the user where the failure lies, after the run-time library's
// description: in the data, the line and the text found there; otherwise the file.
//   Type mismatch in line 1: "Potential (V)"
//   File not found: "/home/lab/cv.csv"

#include <cstddef>
#include <string>

#include "common/runtime_error.h"

namespace qalto {

// Longest piece of a line a message shows; a longer one ends in "...".
inline constexpr size_t kShownFieldLength = 40;

// The text in double quotes, readable in a message box whatever the file held: a tab shows as
// \t, other control characters and bytes that are no UTF-8 text as \xHH; after maxCharacters
// characters the rest is left out and "..." follows the closing quote.
std::string QuotedForMessage(const std::string& text, size_t maxCharacters);

// "<description> in line <line>: "<found>"".
std::string FailureInLine(const std::string& description, int line, const std::string& found);

// "<description>: "<fileName>"".
std::string FailureOfFile(const std::string& description, const std::string& fileName);

// A failure in the data, placed at its line; Description() is the whole text above.
class DataReadError : public RuntimeError {
 public:
  DataReadError(const std::string& description, int line, const std::string& found)
      : RuntimeError(FailureInLine(description, line, found)), line_(line), found_(found) {}

  int Line() const { return line_; }                   // 1 for the first line of the file
  const std::string& Found() const { return found_; }  // as read, before quoting

 private:
  int line_;
  std::string found_;
};

}  // namespace qalto
