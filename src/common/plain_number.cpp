#include "common/plain_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qalto {
namespace {

constexpr int kSignificantDigits = 15;

// The significant digits of a positive value rounded to 15 places, without trailing zeros,
// and the decimal exponent of the first digit.
void Digits(double magnitude, std::string& digits, int& exponent) {
  char buffer[64];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                            std::chars_format::scientific, kSignificantDigits - 1)
                  .ptr;
  char* e = std::find(buffer, end, 'e');
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
  digits.clear();
  for (char* c = buffer; c < e; ++c) {
    if (*c != '.') digits += *c;
  }
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
}

std::string ExponentForm(const std::string& digits, int exponent) {
  std::string text = digits.substr(0, 1);
  if (digits.size() > 1) text.append(".").append(digits, 1, std::string::npos);
  text += exponent < 0 ? "E-" : "E+";
  if (std::abs(exponent) < 10) text += '0';
  return text + std::to_string(std::abs(exponent));
}

std::string FixedForm(const std::string& digits, int exponent) {
  int pointAt = exponent + 1;  // digits before the decimal point
  if (pointAt <= 0)
    return std::string(".").append(static_cast<size_t>(-pointAt), '0').append(digits);
  if (pointAt >= static_cast<int>(digits.size())) {
    return digits + std::string(static_cast<size_t>(pointAt) - digits.size(), '0');
  }
  std::string text = digits.substr(0, static_cast<size_t>(pointAt));
  return text.append(".").append(digits, static_cast<size_t>(pointAt), std::string::npos);
}

}  // namespace

std::string PlainNumber(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0.0) return "0";
  std::string digits;
  int exponent = 0;
  Digits(std::fabs(value), digits, exponent);
  bool exponentForm = exponent < -5 || exponent >= 15;
  std::string body = exponentForm ? ExponentForm(digits, exponent) : FixedForm(digits, exponent);
  return value < 0 ? std::string("-").append(body) : body;
}

std::string NumberText(double value) {
  std::string text = PlainNumber(value);
  if (text[0] == '.') return std::string("0").append(text);
  if (text.rfind("-.", 0) == 0) return std::string("-0").append(text, 1, std::string::npos);
  return text;
}

std::string PrintedNumber(double value) {
  std::string text = PlainNumber(value);
  if (text[0] != '-') text.insert(text.begin(), ' ');
  return text.append(" ");
}

}  // namespace qalto
