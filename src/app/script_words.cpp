#include "app/script_words.h"

#include <sstream>

namespace qalto {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The escape that starts at line[i] (a backslash inside quotes) added to word; the index after it.
size_t ReadEscape(const std::string& line, size_t i, std::string& word) {
  char next = i + 1 < line.size() ? line[i + 1] : '\0';
  switch (next) {
    case '"':
    case '\\':
      word += next;
      return i + 2;
    case 'n':
      word += '\n';
      return i + 2;
    case 'r':
      word += '\r';
      return i + 2;
    case 't':
      word += '\t';
      return i + 2;
    case 'x': {
      int high = i + 2 < line.size() ? HexDigit(line[i + 2]) : -1;
      int low = i + 3 < line.size() ? HexDigit(line[i + 3]) : -1;
      if (high < 0 || low < 0) throw ScriptSyntaxError("malformed \\x escape (two hex digits)");
      word += static_cast<char>(high * 16 + low);
      return i + 4;
    }
    default:
      word += '\\';
      return i + 1;
  }
}

// The quoted word that starts at line[i] (the opening quote); the index after its closing quote.
size_t ReadQuoted(const std::string& line, size_t i, std::string& word) {
  ++i;
  while (i < line.size() && line[i] != '"') {
    if (line[i] == '\\') {
      i = ReadEscape(line, i, word);
    } else {
      word += line[i++];
    }
  }
  if (i >= line.size()) throw ScriptSyntaxError("unterminated quote");
  return i + 1;
}

bool NeedsQuotes(const std::string& text) {
  if (text.empty() || text.front() == '"') return true;
  for (char c : text) {
    if (IsBlank(c) || c == '\\' || c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> SplitScriptLine(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      i = ReadQuoted(line, i, word);
    } else {
      while (i < line.size() && !IsBlank(line[i]))
        word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string ScriptWord(const std::string& text) {
  std::string word;
  bool quoted = NeedsQuotes(text);
  if (quoted) word += '"';
  static const char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '$') {
      word += "$$";
    } else if (!quoted) {
      word += c;
    } else if (c == '"' || c == '\\') {
      word += '\\';
      word += c;
    } else if (c == '\n') {
      word += "\\n";
    } else if (c == '\r') {
      word += "\\r";
    } else if (c == '\t') {
      word += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      word += "\\x";
      word += kHex[byte >> 4];
      word += kHex[byte & 15];
    } else {
      word += c;
    }
  }
  if (quoted) word += '"';
  return word;
}

bool ReadScriptLine(std::istream& in, std::string& line) {
  line.clear();
  std::istream::sentry text(in, true);
  if (!text) return false;
  std::streambuf& buffer = *in.rdbuf();
  for (bool read = false;; read = true) {
    const int c = buffer.sbumpc();
    if (c == std::char_traits<char>::eof()) {
      // The last line may lack its line end; past it there is none.
      in.setstate(read ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
      return read;
    }
    if (c == '\n') return true;
    if (c == '\r') {
      if (buffer.sgetc() == '\n') buffer.sbumpc();
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
}

bool IsCommentLine(const std::string& line) {
  size_t first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == '#';
}

bool HoldsNoCommand(const std::string& script) {
  std::istringstream in(script);
  std::string line;
  for (bool first = true; ReadScriptLine(in, line); first = false) {
    // An editor saving UTF-8 may put a byte-order mark in front of the first line.
    if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!IsCommentLine(line)) return false;
  }
  return true;
}

}  // namespace qalto
