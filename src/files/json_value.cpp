#include "files/json_value.h"

#include <cctype>
#include <cmath>

#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value(0);
    SkipBlanks();
    if (pos_ != text_.size()) Fail("the end of the text");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& expected) const {
    std::string_view found = pos_ < text_.size() ? text_.substr(pos_, 20) : "the end of the file";
    throw FileFormatError("Type mismatch", 1, expected, std::string(found));
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
  }

  bool Take(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  JsonValue Value(int depth) {
    if (depth > kMaxJsonDepth) Fail("at most " + std::to_string(kMaxJsonDepth) + " levels");
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("a value");
    char c = text_[pos_];
    JsonValue value;
    if (c == '{') {
      value.kind = JsonValue::Kind::kObject;
      ++pos_;
      if (Take('}')) return value;
      do {
        SkipBlanks();
        std::string key = String();
        if (!Take(':')) Fail("\":\"");
        value.members.emplace_back(std::move(key), Value(depth + 1));
      } while (Take(','));
      if (!Take('}')) Fail("\",\" or \"}\"");
    } else if (c == '[') {
      value.kind = JsonValue::Kind::kArray;
      ++pos_;
      if (Take(']')) return value;
      do {
        value.items.push_back(Value(depth + 1));
      } while (Take(','));
      if (!Take(']')) Fail("\",\" or \"]\"");
    } else if (c == '"') {
      value.kind = JsonValue::Kind::kString;
      value.text = String();
    } else if (Word("true") || Word("false")) {
      value.kind = JsonValue::Kind::kBool;
      value.number = text_[pos_ - 1] == 'e' && text_[pos_ - 2] == 'u' ? 1 : 0;
    } else if (Word("null")) {
      value.kind = JsonValue::Kind::kNull;
    } else {
      value.kind = JsonValue::Kind::kNumber;
      value.number = Number();
    }
    return value;
  }

  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  double Number() {
    size_t start = pos_;
    while (pos_ < text_.size() &&
           std::string_view("+-.eE0123456789").find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
    std::optional<double> number = CellNumber(text_.substr(start, pos_ - start), '.');
    if (!number || !std::isfinite(*number)) {
      pos_ = start;
      Fail(number ? "a number within the double range" : "a value");
    }
    return *number;
  }

  // A string's escapes are kept as they stand except \" and \\; the session files' strings
  // are method texts and titles, read for a few keys only.
  std::string String() {
    if (pos_ >= text_.size() || text_[pos_] != '"') Fail("a string");
    ++pos_;
    std::string text;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      char c = text_[pos_++];
      if (c == '\\' && pos_ < text_.size()) {
        char escaped = text_[pos_++];
        if (escaped == 'n') {
          text += '\n';
        } else if (escaped == 'r') {
          text += '\r';
        } else if (escaped == 't') {
          text += '\t';
        } else if (escaped == '"' || escaped == '\\' || escaped == '/') {
          text += escaped;
        } else {
          text += '\\';
          text += escaped;
        }
        continue;
      }
      text += c;
    }
    if (pos_ >= text_.size()) Fail("the closing quote of a string");
    ++pos_;
    return text;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

const JsonValue* JsonValue::Member(std::string_view key) const {
  for (const auto& [name, value] : members) {
    if (SameIgnoringCase(name, key)) return &value;
  }
  return nullptr;
}

JsonValue ParseJson(std::string_view text) {
  return JsonParser(text).Document();
}

}  // namespace qalto
