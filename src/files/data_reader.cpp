#include "files/data_reader.h"

#include <cctype>
#include <optional>
#include <string>

#include "common/number_text.h"
#include "common/run_monitor.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

constexpr int kEndOfData = std::char_traits<char>::eof();
// Longest field read; a longer one is not a number anyone wrote, and stopping there keeps a
// large file without separators from filling the memory or holding the program up.
constexpr size_t kMaxFieldLength = 400;

enum class FieldEnd { kComma, kLineBreak, kEndOfData };

// One value as it stands in the file.
struct Field {
  std::string text;  // without the blanks around it; a quoted value without its quotes
  int line = 1;      // the line it stands in, 1 for the first
  FieldEnd end = FieldEnd::kEndOfData;
};

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

// The value of a field. A value in quotes is read as text; a spreadsheet that quotes its
// numbers still gives numbers, any other text is a mismatch (an empty field is a missing
// value).
double ValueOf(const Field& field) {
  if (!IsNumber(field.text)) {
    throw DataReadError(RuntimeError::TypeMismatch().Description(), field.line, field.text);
  }
  try {
    return ReadNumber(field.text);
  } catch (const RuntimeError& error) {
    throw DataReadError(error.Description(), field.line, field.text);
  }
}

// The data as a stream of fields, counting lines as it goes.
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

  // The next field and what followed it, or nothing when the data end before it. Only blanks
  // are skipped in front of it: a line break there ends an empty field.
  std::optional<Field> Read() {
    while (IsBlank(Peek()))
      Next();
    if (Peek() == kEndOfData) return std::nullopt;
    Field field;
    field.line = line_;
    field.text = Peek() == '"' ? QuotedField() : PlainField();
    field.end = ConsumeSeparator();
    return field;
  }

  // What is left of the line, without the blanks around it (at most a field's length): the
  // values beyond the two of a record.
  std::string RestOfLine() {
    std::string text;
    while (!IsLineBreak(Peek()) && Peek() != kEndOfData && text.size() < kMaxFieldLength)
      text += static_cast<char>(Next());
    return Trimmed(text);
  }

 private:
  int Peek() { return buffer_.sgetc(); }
  int Next() {
    int c = buffer_.sbumpc();
    // CR LF, CR alone and LF alone each end one line.
    if (c == '\r' || (c == '\n' && !afterCarriageReturn_)) ++line_;
    afterCarriageReturn_ = c == '\r';
    return c;
  }
  bool AtSeparator() {
    int c = Peek();
    return c == ',' || IsLineBreak(c) || c == kEndOfData;
  }

  static std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  }

  DataReadError Mismatch(const std::string& found) const {
    return DataReadError(RuntimeError::TypeMismatch().Description(), line_, found);
  }

  // Text saved as UTF-8 by a spreadsheet may begin with a byte-order mark.
  void SkipByteOrderMark() {
    static const std::string kMark = "\xEF\xBB\xBF";
    if (Peek() != static_cast<unsigned char>(kMark[0])) return;
    std::string start;
    for (size_t i = 0; i < kMark.size() && Peek() != kEndOfData; ++i) {
      start += static_cast<char>(Next());
    }
    if (start != kMark) throw Mismatch(start);
  }

  void Keep(std::string& text, int c) {
    if (text.size() == kMaxFieldLength) throw Mismatch(text);
    text += static_cast<char>(c);
  }

  // The field up to its separator, without the blanks around it; blanks inside it are kept
  // (they make it no number, and the message shows them).
  std::string PlainField() {
    std::string text;
    std::string blanks;
    while (!AtSeparator()) {
      int c = Next();
      if (IsBlank(c)) {
        // Kept aside until something follows them, so that blanks before the separator,
        // however many, are no part of the field.
        if (blanks.size() <= kMaxFieldLength) blanks += static_cast<char>(c);
        continue;
      }
      for (char blank : blanks)
        Keep(text, blank);
      blanks.clear();
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
    if (!AtSeparator()) {
      // Text after the closing quote: the message shows the field as it stands.
      throw Mismatch("\"" + text + "\"" + PlainField());
    }
    return text;
  }

  FieldEnd ConsumeSeparator() {
    int c = Next();
    if (c == ',') return FieldEnd::kComma;
    if (c == '\r' && Peek() == '\n') Next();
    return c == kEndOfData ? FieldEnd::kEndOfData : FieldEnd::kLineBreak;
  }

  std::streambuf& buffer_;
  int line_ = 1;
  bool afterCarriageReturn_ = false;
};

int ReadRecords(FieldStream& fields, ImportedCurve& curve) {
  int n = 0;
  while (!fields.AtEnd()) {
    n = n + 1;
    if (n % 4096 == 0) PollPoint(n, 0);
    Field potential = *fields.Read();
    curve.potential.push_back(ValueOf(potential));
    if (potential.end == FieldEnd::kLineBreak) fields.SkipBlankLines();
    std::optional<Field> current = fields.Read();
    if (!current) {
      throw DataReadError(RuntimeError::InputPastEndOfFile().Description(), potential.line,
                          potential.text);
    }
    curve.current.push_back(ValueOf(*current));
    if (current->end == FieldEnd::kComma) {
      // A third value on the line.
      throw DataReadError("Bad record length", current->line, fields.RestOfLine());
    }
  }
  return n;
}

}  // namespace

int ReadCurveRecords(std::istream& in, ImportedCurve& curve) {
  try {
    FieldStream fields(in);
    return ReadRecords(fields, curve);
  } catch (const std::ios_base::failure&) {
    // The file buffer reports a failing read of the medium this way.
    throw RuntimeError("Device I/O error");
  }
}

}  // namespace qalto
