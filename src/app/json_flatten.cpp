#include "app/json_flatten.h"

#include <cctype>
#include <stdexcept>

namespace qalto {
namespace {

class Flattener {
 public:
  explicit Flattener(const std::string& text) : text_(text) {}

  JsonCells Document() {
    Value("");
    SkipBlanks();
    if (at_ != text_.size()) Fail("text after the end of the document");
    return std::move(cells_);
  }

 private:
  // Nesting deeper than this is no record of ours and would only exhaust the stack.
  static constexpr int kMaxDepth = 64;

  [[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " at byte " + std::to_string(at_));
  }

  void SkipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
      ++at_;
  }

  char Peek() {
    SkipBlanks();
    if (at_ == text_.size()) Fail("unexpected end");
    return text_[at_];
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++at_;
  }

  static std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
  }

  void Value(const std::string& path) {
    if (++depth_ > kMaxDepth) Fail("nesting too deep");
    char c = Peek();
    if (c == '{') {
      Object(path);
    } else if (c == '[') {
      Array(path);
    } else if (c == '"') {
      cells_.emplace_back(path, String());
    } else {
      cells_.emplace_back(path, Literal());
    }
    --depth_;
  }

  void Object(const std::string& path) {
    Expect('{');
    if (Peek() == '}') {
      ++at_;
      return;
    }
    for (;;) {
      if (Peek() != '"') Fail("expected a key");
      std::string key = String();
      Expect(':');
      Value(Join(path, key));
      if (Peek() == '}') break;
      Expect(',');
    }
    ++at_;
  }

  void Array(const std::string& path) {
    Expect('[');
    if (Peek() == ']') {
      ++at_;
      return;
    }
    for (int index = 1;; ++index) {
      Value(Join(path, std::to_string(index)));
      if (Peek() == ']') break;
      Expect(',');
    }
    ++at_;
  }

  // true, false, null or a number, kept as written (null as an empty cell).
  std::string Literal() {
    size_t start = at_;
    while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) ||
                                  text_[at_] == '-' || text_[at_] == '+' || text_[at_] == '.'))
      ++at_;
    std::string word = text_.substr(start, at_ - start);
    if (word == "null") return "";
    if (word == "true" || word == "false") return word;
    try {
      size_t used = 0;
      std::stod(word, &used);
      if (used == word.size()) return word;
    } catch (const std::logic_error&) {
    }
    at_ = start;
    Fail("not a value");
  }

  std::string String() {
    ++at_;  // the opening quote
    std::string value;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c != '\\') {
        value += c;
        continue;
      }
      if (at_ == text_.size()) break;
      char e = text_[at_++];
      switch (e) {
        case 'n':
          value += '\n';
          break;
        case 't':
          value += '\t';
          break;
        case 'r':
          value += '\r';
          break;
        case 'b':
          value += '\b';
          break;
        case 'f':
          value += '\f';
          break;
        case 'u':
          value += CodePoint();
          break;
        default:
          value += e;
      }
    }
    if (at_ == text_.size()) Fail("unterminated string");
    ++at_;
    return value;
  }

  // \uXXXX as UTF-8; a surrogate half stands for itself, as no record of ours holds one.
  std::string CodePoint() {
    if (at_ + 4 > text_.size()) Fail("short \\u escape");
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      char h = text_[at_++];
      if (!std::isxdigit(static_cast<unsigned char>(h))) Fail("bad \\u escape");
      code =
          code * 16 + static_cast<unsigned>(std::isdigit(h) ? h - '0' : std::tolower(h) - 'a' + 10);
    }
    std::string utf8;
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (code >> 12));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
    return utf8;
  }

  const std::string& text_;
  size_t at_ = 0;
  int depth_ = 0;
  JsonCells cells_;
};

}  // namespace

JsonCells FlattenJson(const std::string& text, std::string& error) {
  try {
    return Flattener(text).Document();
  } catch (const std::runtime_error& failure) {
    error = failure.what();
    return {};
  }
}

}  // namespace qalto
