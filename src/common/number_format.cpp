#include "common/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "common/runtime_error.h"

namespace qalto {
namespace {

// The parts of a pattern such as "0.###e-#": what stands before the point, how many decimal
// places are required ("0") and optional ("#"), and the exponent.
struct Pattern {
  bool leadingZero = true;  // "0" before the point shows a zero digit; "#" suppresses it
  bool hasPoint = false;
  int requiredDecimals = 0;
  int optionalDecimals = 0;
  bool scientific = false;
  char exponentLetter = 'e';
  bool exponentPlus = false;  // "e+" signs positive exponents too
  int exponentDigits = 1;     // at least one exponent digit is always written
};

Pattern Parse(std::string_view text) {
  Pattern p;
  size_t pos = 0;
  if (pos < text.size()) p.leadingZero = text[pos++] == '0';
  if (pos < text.size() && text[pos] == '.') {
    p.hasPoint = true;
    ++pos;
    while (pos < text.size() && (text[pos] == '0' || text[pos] == '#')) {
      (text[pos] == '0' ? p.requiredDecimals : p.optionalDecimals)++;
      ++pos;
    }
  }
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    p.scientific = true;
    p.exponentLetter = text[pos++];
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
      p.exponentPlus = text[pos++] == '+';
    }
    int zeros = 0;
    for (; pos < text.size(); ++pos)
      zeros += text[pos] == '0';
    p.exponentDigits = zeros > 1 ? zeros : 1;
  }
  return p;
}

// Drops optional trailing zeros of the decimals; keeps the point.
std::string TrimDecimals(std::string digits, const Pattern& p) {
  size_t point = digits.find('.');
  if (point == std::string::npos) return p.hasPoint ? digits + "." : digits;
  size_t minimumEnd = point + 1 + static_cast<size_t>(p.requiredDecimals);
  while (digits.size() > minimumEnd && digits.back() == '0')
    digits.pop_back();
  return digits;
}

// The digits of printf's "%.*f" (std::to_chars writes the same, without the format parsing).
std::string FixedDigits(double magnitude, int decimals) {
  // A fixed-point 1e308 has 309 digits before the point.
  std::string buffer(static_cast<size_t>(320 + decimals), '\0');
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::fixed, decimals);
  buffer.resize(error == std::errc{} ? static_cast<size_t>(end - buffer.data()) : 0);
  return buffer;
}

std::string Mantissa(double magnitude, int decimals, const Pattern& p) {
  std::string text = TrimDecimals(FixedDigits(magnitude, decimals), p);
  if (!p.leadingZero && text.rfind("0", 0) == 0 && text.size() > 1 && text[1] == '.') {
    text.erase(0, 1);
  }
  return text;
}

std::string Scientific(double magnitude, const Pattern& p) {
  int decimals = p.requiredDecimals + p.optionalDecimals;
  int exponent = 0;
  double mantissa = 0.0;
  if (magnitude != 0.0) {
    // printf's "%.*e", which rounds the mantissa
    char buffer[400];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, decimals);
    if (error != std::errc{}) throw RuntimeError::Overflow();  // a pattern of 380 decimals
    const char* exponentText = std::find(buffer, end, 'e');
    std::from_chars(exponentText + (exponentText[1] == '+' ? 2 : 1), end, exponent);
    std::from_chars(buffer, exponentText, mantissa);
  }
  std::string text = Mantissa(mantissa, decimals, p);
  text += p.exponentLetter;
  if (exponent < 0) {
    text += '-';
  } else if (p.exponentPlus) {
    text += '+';
  }
  std::string digits = std::to_string(std::abs(exponent));
  while (static_cast<int>(digits.size()) < p.exponentDigits)
    digits.insert(digits.begin(), '0');
  return text + digits;
}

}  // namespace

std::string FormatNumber(double value, std::string_view patternText) {
  // An infinity or NaN has no digits to show: the computation that produced it overflowed.
  if (!std::isfinite(value)) throw RuntimeError::Overflow();
  Pattern p = Parse(patternText);
  double magnitude = std::fabs(value);
  std::string body = p.scientific ? Scientific(magnitude, p)
                                  : Mantissa(magnitude, p.requiredDecimals + p.optionalDecimals, p);
  // A value that rounds to zero is written without a minus sign.
  bool allZero = body.find_first_of("123456789") == std::string::npos ||
                 (p.scientific && body.find_first_of("123456789") >= body.find(p.exponentLetter));
  bool negative = value < 0.0 && !allZero;
  return negative ? std::string("-").append(body) : body;
}

}  // namespace qalto
