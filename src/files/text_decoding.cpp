#include "files/text_decoding.h"

#include <cstdint>

namespace qalto {
namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c == kByteOrderMark) return;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

size_t Utf8Length(std::string_view s, size_t pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) return 1;
  size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || pos + length > s.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
  }
  unsigned char second = byte(pos + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
}

namespace {

bool IsUtf8(std::string_view s) {
  for (size_t pos = 0; pos < s.size();) {
    if (static_cast<unsigned char>(s[pos]) < 0x80) {
      ++pos;
      continue;
    }
    size_t length = Utf8Length(s, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

// The text without its byte-order marks, moved in place.
std::string WithoutMarks(std::string s) {
  static constexpr std::string_view kMark = "\xEF\xBB\xBF";
  size_t mark = s.find(kMark);
  if (mark == std::string::npos) return s;
  size_t kept = mark;
  for (size_t pos = mark; pos < s.size();) {
    if (std::string_view(s).substr(pos, kMark.size()) == kMark) {
      pos += kMark.size();
    } else {
      s[kept++] = s[pos++];
    }
  }
  s.resize(kept);
  return s;
}

std::string FromLatin1(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (char c : s)
    AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

// An odd last byte is dropped; an unpaired surrogate becomes U+FFFD.
std::string FromUtf16(std::string_view s, bool littleEndian) {
  std::string out;
  out.reserve(s.size() / 2);
  auto unit = [&](size_t i) -> char32_t {
    auto lo = static_cast<unsigned char>(s[littleEndian ? i : i + 1]);
    auto hi = static_cast<unsigned char>(s[littleEndian ? i + 1 : i]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < s.size()) {
      char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : c);
  }
  return out;
}

}  // namespace

DecodedText DecodeText(std::string bytes) {
  std::string_view view = bytes;
  if (view.substr(0, 2) == "\xFF\xFE") return {FromUtf16(view.substr(2), true), "UTF-16LE"};
  if (view.substr(0, 2) == "\xFE\xFF") return {FromUtf16(view.substr(2), false), "UTF-16BE"};
  if (IsUtf8(view)) return {WithoutMarks(std::move(bytes)), "UTF-8"};
  return {FromLatin1(view), "Latin-1"};
}

std::vector<std::string_view> SplitLines(std::string_view text, size_t expected) {
  std::vector<std::string_view> lines;
  lines.reserve(expected);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    lines.push_back(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

}  // namespace qalto
