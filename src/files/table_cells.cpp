#include "files/table_cells.h"

#include <charconv>
#include <cmath>

#include "files/file_format_error.h"

namespace qalto {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Longest cell read as a number: longer text is no number an instrument wrote.
constexpr size_t kMaxNumberLength = 64;

// Sign, digits with an optional decimal mark, an optional exponent with digits; the text
// copied with the decimal mark as a point.
bool NumberSyntax(std::string_view cell, char decimalMark, char* out, size_t& length) {
  if (cell.empty() || cell.size() > kMaxNumberLength) return false;
  size_t pos = 0;
  length = 0;
  auto keep = [&](char c) { out[length++] = c; };
  auto digits = [&] {
    size_t start = pos;
    while (pos < cell.size() && IsDigit(cell[pos]))
      keep(cell[pos++]);
    return pos > start;
  };
  if (cell[pos] == '+') {
    ++pos;
  } else if (cell[pos] == '-') {
    keep(cell[pos++]);
  }
  bool mantissa = digits();
  if (pos < cell.size() && cell[pos] == decimalMark) {
    keep('.');
    ++pos;
    mantissa = digits() || mantissa;
  }
  if (!mantissa) return false;
  if (pos < cell.size() && (cell[pos] == 'e' || cell[pos] == 'E')) {
    keep('e');
    ++pos;
    if (pos < cell.size() && (cell[pos] == '+' || cell[pos] == '-')) keep(cell[pos++]);
    if (!digits()) return false;
  }
  return pos == cell.size();
}

}  // namespace

std::string_view TrimmedCell(std::string_view cell) {
  size_t first = 0;
  while (first < cell.size() && IsBlank(cell[first]))
    ++first;
  size_t last = cell.size();
  while (last > first && IsBlank(cell[last - 1]))
    --last;
  return cell.substr(first, last - first);
}

std::vector<std::string_view> SplitCells(std::string_view line, char delimiter) {
  std::vector<std::string_view> cells;
  if (delimiter == kBlanks) {
    size_t pos = 0;
    while (pos < line.size()) {
      while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
      size_t start = pos;
      while (pos < line.size() && !IsBlank(line[pos]))
        ++pos;
      if (pos > start) cells.push_back(line.substr(start, pos - start));
    }
    return cells;
  }
  size_t start = 0;
  while (true) {
    size_t end = line.find(delimiter, start);
    if (end == std::string_view::npos) {
      cells.push_back(TrimmedCell(line.substr(start)));
      return cells;
    }
    cells.push_back(TrimmedCell(line.substr(start, end - start)));
    start = end + 1;
  }
}

std::optional<double> CellNumber(std::string_view cell, char decimalMark) {
  char text[kMaxNumberLength + 1];
  size_t length = 0;
  if (!NumberSyntax(cell, decimalMark, text, length)) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text, text + length, value);
  if (error == std::errc::result_out_of_range) {
    // Too large a magnitude is an overflow; too small a one is read as zero.
    bool tiny = std::string_view(text, length).find("e-") != std::string_view::npos;
    if (tiny) return 0.0;
    return text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  if (error != std::errc() || end != text + length) return std::nullopt;
  return value;
}

double RequireNumber(std::string_view cell, char decimalMark, int line, const std::string& what) {
  std::optional<double> value = CellNumber(cell, decimalMark);
  if (!value) throw FileFormatError("Type mismatch", line, what, std::string(cell));
  if (!std::isfinite(*value)) {
    throw FileFormatError("Overflow", line, what + " within the double range", std::string(cell));
  }
  return *value;
}

}  // namespace qalto
