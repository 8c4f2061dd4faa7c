#include "app/invisible_characters.h"

#include <cstdio>
#include <vector>

#include "files/text_decoding.h"

namespace qalto {
namespace {

bool IsInvisible(char32_t c) {
  return (c < 0x20 && c != '\t') || (c >= 0x7F && c <= 0xA0) || c == 0xAD || c == 0x34F ||
         c == 0x61C || c == 0x115F || c == 0x1160 || c == 0x17B4 || c == 0x17B5 || c == 0x180E ||
         (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) ||
         (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0x3164 || c == 0xFEFF || c == 0xFFA0 ||
         (c >= 0xFFF0 && c <= 0xFFFB);
}

// The code point of the valid UTF-8 sequence of `length` bytes at pos.
char32_t CodePoint(const std::string& text, size_t pos, size_t length) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  if (length == 1) return byte(0);
  char32_t c = byte(0) & (0x7F >> length);
  for (size_t i = 1; i < length; ++i)
    c = (c << 6) | (byte(i) & 0x3F);
  return c;
}

// "the invisible character U+200B" or "the bytes 0xE9, 0xB0", each named once.
std::string Listed(const std::vector<std::string>& names, const char* one, const char* many) {
  std::string list;
  for (const std::string& name : names)
    list += (list.empty() ? "" : ", ") + name;
  return std::string(names.size() > 1 ? many : one) + " " + list;
}

void NoteOnce(std::vector<std::string>& names, const char* format, unsigned value) {
  char name[24];
  std::snprintf(name, sizeof name, format, value);
  for (const std::string& known : names) {
    if (known == name) return;
  }
  names.emplace_back(name);
}

}  // namespace

std::string InvisibleCharactersNote(const std::string& text) {
  std::vector<std::string> invisible;
  std::vector<std::string> bytes;
  for (size_t pos = 0; pos < text.size();) {
    size_t length = Utf8Length(text, pos);
    if (length == 0) {
      NoteOnce(bytes, "0x%02X", static_cast<unsigned char>(text[pos]));
      ++pos;
      continue;
    }
    char32_t c = CodePoint(text, pos, length);
    if (IsInvisible(c)) NoteOnce(invisible, "U+%04X", static_cast<unsigned>(c));
    pos += length;
  }
  std::vector<std::string> parts;
  if (!invisible.empty()) {
    parts.push_back(Listed(invisible, "the invisible character", "the invisible characters"));
  }
  if (!bytes.empty()) parts.push_back(Listed(bytes, "the byte", "the bytes") + ", no UTF-8 text");
  if (parts.empty()) return "";
  return " (it holds " + parts[0] + (parts.size() > 1 ? "; " + parts[1] : "") + ")";
}

}  // namespace qalto
