#include "files/chi_text_reader.h"

#include <map>
#include <optional>

#include "files/curve_table.h"
#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

// The parameters by their name without the unit ("Init E", "Scan Rate"), each value scaled
// from its unit in parentheses (V, mV, V/s, mV/s) to V or V/s.
std::map<std::string, double> Parameters(const std::vector<std::string_view>& lines, size_t end) {
  std::map<std::string, double> parameters;
  for (size_t i = 0; i < end; ++i) {
    size_t equals = lines[i].find(" = ");
    if (equals == std::string_view::npos) continue;
    std::string_view key = TrimmedCell(lines[i].substr(0, equals));
    std::optional<double> value = CellNumber(TrimmedCell(lines[i].substr(equals + 3)), '.');
    if (!value) continue;
    double scale = 1;
    if (size_t open = key.find(" ("); open != std::string_view::npos) {
      std::string_view unit = key.substr(open + 2);
      if (unit.substr(0, 2) == "mV") scale = 1e-3;
      key = key.substr(0, open);
    }
    parameters[std::string(key)] = *value * scale;
  }
  return parameters;
}

std::optional<double> Find(const std::map<std::string, double>& parameters, const char* key) {
  auto found = parameters.find(key);
  if (found == parameters.end()) return std::nullopt;
  return found->second;
}

// A CV goes from Init E first to High E when Init P/N is P (positive), else to Low E; a sweep
// has only its Final E.
InstrumentSettings SettingsOf(const std::map<std::string, double>& parameters, bool negative) {
  InstrumentSettings settings;
  settings.scanRate = Find(parameters, "Scan Rate");
  settings.potentialStep = Find(parameters, "Sample Interval");
  settings.startPotential = Find(parameters, "Init E");
  settings.quietTime = Find(parameters, "Quiet Time");
  std::optional<double> high = Find(parameters, "High E");
  std::optional<double> low = Find(parameters, "Low E");
  if (high && low) {
    settings.switchingPotentials = negative ? std::vector{*low, *high} : std::vector{*high, *low};
  } else if (std::optional<double> final = Find(parameters, "Final E")) {
    settings.switchingPotentials = {*final};
  }
  return settings;
}

}  // namespace

bool IsChiColumnLine(std::string_view line) {
  return line.substr(0, 11) == "Potential/V";
}

bool LooksLikeChiText(const std::vector<std::string_view>& lines) {
  bool parameters = false;
  for (size_t i = 0; i < lines.size() && i < 200; ++i) {
    if (lines[i].find(" = ") != std::string_view::npos) parameters = true;
    if (IsChiColumnLine(lines[i])) return parameters;
  }
  return false;
}

ImportedFile ReadChiText(const std::vector<std::string_view>& lines, const std::string& source,
                         const ColumnChoice& choice) {
  size_t column = 0;
  while (column < lines.size() && !IsChiColumnLine(lines[column]))
    ++column;
  if (column == lines.size()) {
    throw FileFormatError("Type mismatch", 0, "the column line \"Potential/V, Current/A\"",
                          "no such line");
  }
  std::vector<std::string_view> headings = SplitCells(lines[column], ',');
  CurveColumns columns = ChooseColumns(headings);
  ApplyColumnChoice(columns, headings, choice, static_cast<int>(column + 1));
  if (columns.potential < 0 || columns.current < 0) {
    throw FileFormatError("Type mismatch", static_cast<int>(column + 1),
                          "a potential and a current column", std::string(lines[column]));
  }
  TableLayout layout{column + 1, lines.size()};
  layout = CommaLayoutOfFile(lines, layout, FilledCells(RowCells(lines[column], layout)));
  TableRows rows = ReadTableRows(lines, layout, columns);
  if (rows.potential.empty()) {
    throw FileFormatError("Input past end of file", static_cast<int>(lines.size()),
                          "data lines after the column line", "the end of the file");
  }
  std::map<std::string, double> parameters = Parameters(lines, column);
  bool negative = false;
  for (size_t i = 0; i < column; ++i) {
    if (lines[i].substr(0, 12) == "Init P/N = N") negative = true;
  }
  ImportedFile file;
  file.format = "CH Instruments text";
  file.technique = lines.size() > 1 ? std::string(TrimmedCell(lines[1])) : "";
  file.curves = SplitAtVertices(rows);
  NoteColumns(file, headings, columns);
  Stamp(file.curves, source, SettingsOf(parameters, negative));
  return file;
}

}  // namespace qalto
