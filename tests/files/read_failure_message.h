#pragma once
// The message a reading of a measurement raises, as the import shows it for the file.

#include <string>

#include "files/file_format_error.h"
#include "files/measurement_file.h"

namespace qalto {

// The message of the FileFormatError the reading raises, for the file of that name; "" when the
// reading ends without one.
template <class Reading>
std::string FailureOf(Reading reading, const std::string& name) {
  try {
    reading();
  } catch (const FileFormatError& error) {
    return error.MessageFor(name);
  }
  return "";
}

// The message of reading the text as the file of that name; "" when it reads.
inline std::string ReadFailure(const std::string& text, const std::string& name = "f",
                               const ColumnChoice& choice = {}) {
  return FailureOf([&] { ReadMeasurementText(text, name, choice); }, name);
}

}  // namespace qalto
