#include "files/read_failure.h"

#include <cstdio>

namespace qalto {
namespace {

bool IsContinuationByte(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Length of the UTF-8 character starting at pos, 0 when the bytes there are no character
// (a stray continuation byte, a cut or overlong sequence, a control character).
size_t Utf8CharacterLength(const std::string& text, size_t pos) {
  unsigned char lead = static_cast<unsigned char>(text[pos]);
  if (lead >= 0x20 && lead < 0x7F) return 1;
  size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || pos + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuationByte(static_cast<unsigned char>(text[pos + i]))) return 0;
  }
  // The C1 control characters, overlong forms, UTF-16 surrogates and code points beyond
  // U+10FFFF.
  unsigned char second = static_cast<unsigned char>(text[pos + 1]);
  if ((lead == 0xC2 && second < 0xA0) || (lead == 0xE0 && second < 0xA0) ||
      (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
}

std::string Escaped(unsigned char c) {
  if (c == '\t') return "\\t";
  char hex[5];
  std::snprintf(hex, sizeof hex, "\\x%02X", c);
  return hex;
}

}  // namespace

std::string QuotedForMessage(const std::string& text, size_t maxCharacters) {
  std::string shown = "\"";
  size_t pos = 0;
  for (size_t characters = 0; pos < text.size() && characters < maxCharacters; ++characters) {
    size_t length = Utf8CharacterLength(text, pos);
    if (length == 0) {
      shown += Escaped(static_cast<unsigned char>(text[pos]));
      length = 1;
    } else {
      shown.append(text, pos, length);
    }
    pos += length;
  }
  shown += "\"";
  if (pos < text.size()) shown += "...";
  return shown;
}

std::string FailureInLine(const std::string& description, int line, const std::string& found) {
  return description + " in line " + std::to_string(line) + ": " +
         QuotedForMessage(found, kShownFieldLength);
}

std::string FailureOfFile(const std::string& description, const std::string& fileName) {
  // A path is shown whole: its end is what tells one file from another.
  return description + ": " + QuotedForMessage(fileName, fileName.size());
}

}  // namespace qalto
