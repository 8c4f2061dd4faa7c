#include "common/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/plain_number.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

size_t SkipDigits(std::string_view text, size_t pos) {
  while (pos < text.size() && IsDigit(text[pos]))
    ++pos;
  return pos;
}

// Length of the longest prefix of text that is a decimal number (sign, digits, point, exponent).
size_t NumericPrefixLength(std::string_view text) {
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  size_t mantissaStart = pos;
  pos = SkipDigits(text, pos);
  bool digits = pos > mantissaStart;
  if (pos < text.size() && text[pos] == '.') {
    size_t fractionStart = pos + 1;
    size_t fractionEnd = SkipDigits(text, fractionStart);
    digits = digits || fractionEnd > fractionStart;
    pos = fractionEnd;
  }
  if (!digits) return 0;
  if (pos < text.size() && std::strchr("eEdD", text[pos]) != nullptr) {
    size_t exponent = pos + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) pos = exponentEnd;  // "1e" and "1e-" keep only the mantissa
  }
  return pos;
}

}  // namespace

std::optional<double> ReadFiniteNumber(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
    ++start;
  std::string_view rest = text.substr(start);
  size_t length = NumericPrefixLength(rest);
  if (length == 0) return 0.0;
  std::string_view number = rest.substr(0, length);
  std::string exponentE;  // a d or D exponent, written with e for the conversion
  if (number.find_first_of("dD") != std::string_view::npos) {
    exponentE = number;
    exponentE[exponentE.find_first_of("dD")] = 'e';
    number = exponentE;
  }
  double value = 0;
  const char* begin = number.data() + (number.front() == '+' ? 1 : 0);
  auto [end, problem] = std::from_chars(begin, number.data() + number.size(), value);
  // Beyond the range of doubles (too small reads as strtod rounds it, towards 0; too large
  // overflows) or a form from_chars does not take whole: strtod decides.
  if (problem != std::errc() || end != number.data() + number.size())
    value = std::strtod(std::string(number).c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double ReadNumber(std::string_view text) {
  if (const std::optional<double> value = ReadFiniteNumber(text)) return *value;
  throw RuntimeError::Overflow();
}

double ReadBoxNumber(std::string_view text, const std::string& caption) {
  if (const std::optional<double> value = ReadFiniteNumber(text)) return *value;
  throw RuntimeError(RuntimeError::Overflow().Description() + ": " + caption + " is " +
                     ShownText(text));
}

std::string ShownText(std::string_view text) {
  constexpr size_t kWhole = 20;  // characters shown whole
  if (text.size() <= kWhole) return std::string(text);
  return std::string(text.substr(0, 8)) + "... (" + std::to_string(text.size()) + " characters)";
}

std::string NumberReadingNote(std::string_view text) {
  size_t start = text.find_first_not_of(" \t");
  // An empty box is the user's "nothing here": it reads 0 without a mark.
  if (start == std::string_view::npos) return "";
  size_t end = text.find_last_not_of(" \t") + 1;
  std::string_view number = text.substr(start, end - start);
  double value = 0;
  try {
    value = ReadNumber(number);
  } catch (const RuntimeError&) {
    return "too large a number";
  }
  if (NumericPrefixLength(number) == number.size()) return "";
  return "not a number, read as " + NumberText(value);
}

}  // namespace qalto
