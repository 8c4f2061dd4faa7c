#include "files/data_reader.h"

#include <cctype>
#include <string>

#include "common/number_text.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

constexpr int kEndOfData = std::char_traits<char>::eof();
// Longest field read; a longer one is not a number anyone wrote, and stopping there keeps a
// large file without separators from filling the memory or holding the program up.
constexpr size_t kMaxFieldLength = 400;

enum class FieldEnd { kComma, kLineBreak, kEndOfData };

bool IsBlank(int c) {
  return c == ' ' || c == '\t';
}
bool IsLineBreak(int c) {
  return c == '\r' || c == '\n';
}
bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A whole field that is a decimal number: sign, digits with an optional point, an optional
// exponent (E or D, the old Fortran and BASIC double-precision mark) with digits.
bool IsNumber(const std::string& text) {
  size_t pos = 0;
  auto skipDigits = [&] {
    size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
      ++pos;
    return pos > start;
  };
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  bool mantissa = skipDigits();
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissa = skipDigits() || mantissa;
  }
  if (!mantissa) return false;
  if (pos < text.size() && std::string("eEdD").find(text[pos]) != std::string::npos) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (!skipDigits()) return false;
  }
  return pos == text.size();
}

RuntimeError BadRecordLength() {
  return RuntimeError("Bad record length");
}

// The data as a stream of fields.
class FieldStream {
 public:
  explicit FieldStream(std::istream& in) : buffer_(*in.rdbuf()) { SkipByteOrderMark(); }

  // Skips blanks and blank lines; true when nothing else is left.
  bool AtEnd() {
    while (IsBlank(Peek()) || IsLineBreak(Peek()))
      Next();
    return Peek() == kEndOfData;
  }

  // Skips blank lines (and blanks) after a line break that ended a field.
  void SkipBlankLines() { AtEnd(); }

  // Reads one value and tells what followed it.
  double ReadValue(FieldEnd& end) {
    while (IsBlank(Peek()))
      Next();
    if (Peek() == kEndOfData) throw RuntimeError::InputPastEndOfFile();
    std::string text = Peek() == '"' ? QuotedField() : PlainField();
    end = ConsumeSeparator();
    // A value in quotes is read as text; a spreadsheet that quotes its numbers still gives
    // numbers, any other text is a mismatch (an empty field is a missing value).
    if (!IsNumber(text)) throw RuntimeError::TypeMismatch();
    return ReadNumber(text);
  }

 private:
  int Peek() { return buffer_.sgetc(); }
  int Next() { return buffer_.sbumpc(); }
  bool AtSeparator() {
    int c = Peek();
    return c == ',' || IsLineBreak(c) || c == kEndOfData;
  }

  // Text saved as UTF-8 by a spreadsheet may begin with a byte-order mark.
  void SkipByteOrderMark() {
    static const std::string kMark = "\xEF\xBB\xBF";
    if (Peek() != static_cast<unsigned char>(kMark[0])) return;
    std::string start;
    for (size_t i = 0; i < kMark.size() && Peek() != kEndOfData; ++i) {
      start += static_cast<char>(Next());
    }
    if (start != kMark) throw RuntimeError::TypeMismatch();
  }

  void Keep(std::string& text, int c) {
    if (text.size() == kMaxFieldLength) throw RuntimeError::TypeMismatch();
    text += static_cast<char>(c);
  }

  // The field up to its separator, without the blanks around it. Blanks inside it are kept
  // as one, which is enough to make it no number.
  std::string PlainField() {
    std::string text;
    bool blanks = false;
    while (!AtSeparator()) {
      int c = Next();
      if (IsBlank(c)) {
        blanks = true;
        continue;
      }
      if (blanks) Keep(text, ' ');
      blanks = false;
      Keep(text, c);
    }
    return text;
  }

  // A quoted field ends at its closing quote, or at the line end when that is missing; only
  // blanks may follow it.
  std::string QuotedField() {
    Next();
    std::string text;
    while (Peek() != '"' && !IsLineBreak(Peek()) && Peek() != kEndOfData)
      Keep(text, Next());
    if (Peek() == '"') Next();
    while (IsBlank(Peek()))
      Next();
    if (!AtSeparator()) throw RuntimeError::TypeMismatch();  // text after the closing quote
    return text;
  }

  FieldEnd ConsumeSeparator() {
    int c = Next();
    if (c == ',') return FieldEnd::kComma;
    if (c == '\r' && Peek() == '\n') Next();
    return c == kEndOfData ? FieldEnd::kEndOfData : FieldEnd::kLineBreak;
  }

  std::streambuf& buffer_;
};

}  // namespace

int ReadCurveRecords(std::istream& in, Model& model, int curve) {
  try {
    FieldStream fields(in);
    int n = 0;
    while (!fields.AtEnd()) {
      n = n + 1;
      FieldEnd end;
      model.PotentialX(n) = fields.ReadValue(end);  // beyond point 5000: out of range
      if (end == FieldEnd::kEndOfData) throw RuntimeError::InputPastEndOfFile();
      if (end == FieldEnd::kLineBreak) fields.SkipBlankLines();
      model.CurrentY(n, curve) = fields.ReadValue(end);
      if (end == FieldEnd::kComma) throw BadRecordLength();  // a third value on the line
    }
    return n;
  } catch (const std::ios_base::failure&) {
    // The file buffer reports a failing read of the medium this way.
    throw RuntimeError("Device I/O error");
  }
}

}  // namespace qalto
