#include "files/import_limits.h"

#include <cstring>
#include <string>

#include "files/file_format_error.h"

namespace qalto {
namespace {

std::string Megabytes(size_t bytes) {
  return std::to_string((bytes + (size_t{1} << 20) - 1) >> 20) + " MB";
}

// The line (from 1) that the byte at pos stands in.
int LineOfByte(std::string_view bytes, size_t pos, size_t unit) {
  int line = 1;
  for (size_t i = 0; i < pos; i += unit) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + unit >= pos || bytes[i + unit] != '\n')))
      ++line;
  }
  return line;
}

// The first zero unit (of one or two bytes) from start, or npos.
size_t FirstZero(std::string_view bytes, size_t start, size_t unit) {
  if (unit == 1) {
    const void* zero = std::memchr(bytes.data() + start, 0, bytes.size() - start);
    return zero == nullptr ? std::string_view::npos
                           : static_cast<size_t>(static_cast<const char*>(zero) - bytes.data());
  }
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
  }
  return std::string_view::npos;
}

}  // namespace

void CheckImportSize(size_t size) {
  if (size <= kMaxImportBytes) return;
  throw FileFormatError("File too large", 0,
                        "at most " + Megabytes(kMaxImportBytes) + " of measurement text",
                        Megabytes(size));
}

void CheckTextBytes(std::string_view bytes) {
  bool utf16 = bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
  size_t unit = utf16 ? 2 : 1;
  size_t zero = FirstZero(bytes, utf16 ? 2 : 0, unit);
  if (zero == std::string_view::npos) return;
  // The line counts the low bytes of UTF-16 units, which is where their line ends stand.
  size_t from = utf16 ? (bytes[0] == '\xFF' ? 2 : 3) : 0;
  int line = LineOfByte(bytes.substr(from), zero - std::min(zero, from), unit);
  size_t lineStart = zero;
  while (lineStart > 0 && zero - lineStart < 40 && bytes[lineStart - 1] != '\n')
    --lineStart;
  throw FileFormatError("Binary data", line, "the text of a measurement export",
                        std::string(bytes.substr(lineStart, zero - lineStart + 8)));
}

size_t CheckedLineCount(std::string_view text) {
  size_t lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++lines;
  }
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') ++lines;
  if (lines > kMaxImportLines) {
    throw FileFormatError("Too many lines", 0,
                          "at most " + std::to_string(kMaxImportLines) + " lines",
                          std::to_string(lines) + " lines");
  }
  return lines;
}

}  // namespace qalto
