#include "files/table_layout.h"

#include <string>

#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

void DropEmptyEnd(std::vector<std::string_view>& cells) {
  while (!cells.empty() && cells.back().empty())
    cells.pop_back();
}

// Cells at each comma that a blank follows (or that ends the line).
std::vector<std::string_view> SplitAtCommaBlanks(std::string_view line) {
  std::vector<std::string_view> cells;
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ',' && (i + 1 == line.size() || IsBlank(line[i + 1]))) {
      cells.push_back(TrimmedCell(line.substr(start, i - start)));
      start = i + 1;
    }
  }
  cells.push_back(TrimmedCell(line.substr(start)));
  return cells;
}

// Every two comma cells joined again into one, with the comma between them; a lone last cell
// stays as it is.
std::vector<std::string_view> PairedCells(const std::vector<std::string_view>& cells) {
  std::vector<std::string_view> pairs;
  for (size_t i = 0; i < cells.size(); i += 2) {
    if (i + 1 == cells.size()) {
      pairs.push_back(cells[i]);
      break;
    }
    const char* begin = cells[i].data();
    const char* end = cells[i + 1].data() + cells[i + 1].size();
    pairs.emplace_back(begin, static_cast<size_t>(end - begin));
  }
  return pairs;
}

// The whole part of a number with a decimal comma: a sign and digits.
bool IsWholePart(std::string_view cell) {
  size_t pos = !cell.empty() && (cell[0] == '-' || cell[0] == '+') ? 1 : 0;
  if (pos == cell.size()) return false;
  for (; pos < cell.size(); ++pos) {
    if (!IsDigit(cell[pos])) return false;
  }
  return true;
}

// The decimals of a number with a decimal comma: digits and an optional exponent; the number
// of digits, 0 when the cell is no such part.
size_t FractionDigits(std::string_view cell) {
  size_t digits = 0;
  while (digits < cell.size() && IsDigit(cell[digits]))
    ++digits;
  if (digits == 0) return 0;
  if (digits == cell.size()) return digits;
  return CellNumber(cell, '.') && (cell[digits] == 'e' || cell[digits] == 'E') ? digits : 0;
}

// What the data lines show of their commas.
struct CommaEvidence {
  bool decimalPoint = false;  // a '.' somewhere: the commas are delimiters
  size_t widest = 0;          // most comma cells of a line
  size_t firstWide = 0;       // index of the first line with more cells than explained
  bool wide = false;
  // Every line cut at its comma-blanks into the same number (two or more) of decimal-comma
  // numbers.
  bool commaBlank = true;
  size_t commaBlankCells = 0;
  // Every line an even number of comma cells, whole parts and decimals, each column's
  // decimals as many digits on every line: fixed decimals.
  bool pairs = true;
  size_t pairCells = 0;
  std::vector<size_t> decimals;  // digits of each column's decimals
  // Cells no program writes as whole numbers: "-0", or digits after a leading 0 ("000e-05").
  bool fractionSigns = false;
};

void ExamineCommaBlanks(std::string_view line, CommaEvidence& evidence) {
  std::vector<std::string_view> cells = SplitAtCommaBlanks(line);
  DropEmptyEnd(cells);
  if (cells.size() < 2 ||
      (evidence.commaBlankCells != 0 && cells.size() != evidence.commaBlankCells)) {
    evidence.commaBlank = false;
    return;
  }
  evidence.commaBlankCells = cells.size();
  for (std::string_view cell : cells) {
    if (!CellNumber(cell, ',')) evidence.commaBlank = false;
  }
}

void ExaminePairs(const std::vector<std::string_view>& cells, CommaEvidence& evidence) {
  if (cells.size() < 4 || cells.size() % 2 != 0 ||
      (evidence.pairCells != 0 && cells.size() / 2 != evidence.pairCells)) {
    evidence.pairs = false;
    return;
  }
  evidence.pairCells = cells.size() / 2;
  evidence.decimals.resize(evidence.pairCells, 0);
  for (size_t k = 0; k < evidence.pairCells; ++k) {
    std::string_view whole = cells[2 * k];
    std::string_view fraction = cells[2 * k + 1];
    size_t digits = FractionDigits(fraction);
    if (!IsWholePart(whole) || digits == 0 ||
        (evidence.decimals[k] != 0 && evidence.decimals[k] != digits)) {
      evidence.pairs = false;
      return;
    }
    evidence.decimals[k] = digits;
    if (whole == "-0" || (digits > 1 && fraction[0] == '0')) evidence.fractionSigns = true;
  }
}

CommaEvidence Examine(const std::vector<std::string_view>& lines, const TableLayout& layout,
                      size_t explained) {
  CommaEvidence evidence;
  for (size_t i = layout.firstLine; i < layout.endLine; ++i) {
    std::string_view line = lines[i];
    if (TrimmedCell(line).empty()) continue;
    if (line.find('.') != std::string_view::npos) {
      evidence.decimalPoint = true;
      return evidence;
    }
    std::vector<std::string_view> cells = SplitCells(line, ',');
    DropEmptyEnd(cells);
    if (cells.size() > evidence.widest) evidence.widest = cells.size();
    if (cells.size() > explained && !evidence.wide) {
      evidence.wide = true;
      evidence.firstWide = i;
    }
    if (evidence.commaBlank) ExamineCommaBlanks(line, evidence);
    if (evidence.pairs) ExaminePairs(cells, evidence);
  }
  return evidence;
}

}  // namespace

std::vector<std::string_view> RowCells(std::string_view line, const TableLayout& layout) {
  std::vector<std::string_view> cells;
  switch (layout.split) {
    case CellSplit::kDelimiter:
      cells = SplitCells(line, layout.delimiter);
      break;
    case CellSplit::kCommaBlank:
      cells = SplitAtCommaBlanks(line);
      break;
    case CellSplit::kCommaPairs:
      cells = SplitCells(line, ',');
      DropEmptyEnd(cells);
      cells = PairedCells(cells);
      break;
  }
  return cells;
}

size_t FilledCells(const std::vector<std::string_view>& cells) {
  size_t filled = cells.size();
  while (filled > 0 && cells[filled - 1].empty())
    --filled;
  return filled;
}

bool IsOwnExport(const std::vector<std::string_view>& lines, const TableLayout& layout) {
  for (size_t i = layout.firstLine; i < layout.endLine; ++i) {
    std::string_view line = lines[i];
    for (size_t comma = line.find(','); comma != std::string_view::npos;
         comma = line.find(',', comma + 1)) {
      if (comma == 0 || line[comma - 1] != ' ') return false;
    }
  }
  return true;
}

TableLayout CommaLayoutOfFile(const std::vector<std::string_view>& lines, TableLayout layout,
                              size_t named) {
  layout.delimiter = ',';
  layout.decimalMark = '.';
  layout.split = CellSplit::kDelimiter;
  size_t explained = named >= 2 ? named : 2;
  layout.width = explained;
  CommaEvidence evidence = Examine(lines, layout, explained);
  if (evidence.decimalPoint || !evidence.wide) return layout;
  if (evidence.commaBlank && (named < 2 || evidence.commaBlankCells == named)) {
    layout.split = CellSplit::kCommaBlank;
    layout.decimalMark = ',';
    layout.width = evidence.commaBlankCells;
    return layout;
  }
  bool pairsNamed = named >= 2 && evidence.pairCells == named;
  if (evidence.pairs && (pairsNamed || (named < 2 && evidence.fractionSigns))) {
    layout.split = CellSplit::kCommaPairs;
    layout.decimalMark = ',';
    layout.width = evidence.pairCells;
    return layout;
  }
  throw FileFormatError("Ambiguous decimal comma", static_cast<int>(evidence.firstWide + 1),
                        std::to_string(explained) +
                            " values with a decimal point, or decimal commas with semicolons or "
                            "tabs between the values",
                        std::string(lines[evidence.firstWide]));
}

}  // namespace qalto
