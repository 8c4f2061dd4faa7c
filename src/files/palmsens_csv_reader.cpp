#include "files/palmsens_csv_reader.h"

#include <optional>

#include "files/column_heading.h"
#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

// Lines searched for the unit row; the title block holds six or seven.
constexpr size_t kTitleBlockLines = 20;

// The unit row: V and a current unit, pair after pair.
bool IsUnitRow(std::string_view line) {
  std::vector<std::string_view> cells = SplitCells(line, ',');
  if (cells.size() < 2) return false;
  for (size_t i = 0; i + 1 < cells.size(); i += 2) {
    if (cells[i] != "V" || UnitScale(cells[i + 1]) == 0 || cells[i + 1].back() != 'A') {
      return false;
    }
  }
  return true;
}

std::optional<size_t> UnitRow(const std::vector<std::string_view>& lines) {
  for (size_t i = 0; i < lines.size() && i < kTitleBlockLines; ++i) {
    if (IsUnitRow(lines[i])) return i;
  }
  return std::nullopt;
}

}  // namespace

bool LooksLikePalmSensCsv(const std::vector<std::string_view>& lines) {
  return !lines.empty() && lines[0].substr(0, 14) == "Date and time:" && UnitRow(lines);
}

ImportedFile ReadPalmSensCsv(const std::vector<std::string_view>& lines,
                             const std::string& source) {
  size_t unitRow = *UnitRow(lines);
  std::vector<std::string_view> units = SplitCells(lines[unitRow], ',');
  size_t pairs = units.size() / 2;
  // The titles stand on the line before "Date and time measurement:".
  std::vector<std::string_view> titles;
  if (unitRow >= 2) titles = SplitCells(lines[unitRow - 2], ',');
  ImportedFile file;
  file.format = "PalmSens CSV";
  file.curves.resize(pairs);
  std::vector<bool> ended(pairs, false);
  for (size_t p = 0; p < pairs; ++p) {
    file.curves[p].source = source;
    if (2 * p < titles.size()) file.curves[p].label = std::string(titles[2 * p]);
  }
  for (size_t i = unitRow + 1; i < lines.size(); ++i) {
    if (TrimmedCell(lines[i]).empty()) continue;
    int line = static_cast<int>(i + 1);
    std::vector<std::string_view> cells = SplitCells(lines[i], ',');
    for (size_t p = 0; p < pairs; ++p) {
      std::string_view e = 2 * p < cells.size() ? cells[2 * p] : std::string_view();
      std::string_view current = 2 * p + 1 < cells.size() ? cells[2 * p + 1] : std::string_view();
      // A shorter curve's pair is empty below its last point.
      if (e.empty() && current.empty()) {
        ended[p] = true;
        continue;
      }
      if (ended[p]) {
        throw FileFormatError("Type mismatch", line, "empty cells after the end of a curve",
                              std::string(e));
      }
      std::string column = std::to_string(2 * p + 1);
      file.curves[p].potential.push_back(
          RequireNumber(e, '.', line, "a potential in column " + column));
      file.curves[p].current.push_back(
          RequireNumber(current, '.', line, "a current in column " + std::to_string(2 * p + 2)) *
          UnitScale(units[2 * p + 1]));
    }
  }
  std::erase_if(file.curves, [](const ImportedCurve& c) { return c.potential.empty(); });
  if (file.curves.empty()) {
    throw FileFormatError("Input past end of file", static_cast<int>(lines.size()),
                          "data rows after the unit row", "the end of the file");
  }
  if (file.curves.size() == 1) file.curves[0].label.clear();
  return file;
}

}  // namespace qalto
