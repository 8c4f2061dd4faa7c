#include "files/gamry_dta_reader.h"

#include <map>
#include <optional>

#include "files/curve_table.h"
#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

// A header value with the factor of the unit its label names ("Scan Rate (mV/s)") and the
// flag of a potential set against the open circuit.
struct Tagged {
  double value = 0;
  double scale = 1;
  bool versusOpenCircuit = false;
};

double LabelScale(std::string_view label) {
  size_t open = label.rfind('(');
  if (open == std::string_view::npos) return 1;
  std::string_view unit = label.substr(open + 1);
  return unit.substr(0, 2) == "mV" ? 1e-3 : 1;
}

std::map<std::string, Tagged> HeaderValues(const std::vector<std::string_view>& lines) {
  std::map<std::string, Tagged> values;
  for (std::string_view line : lines) {
    // Table rows begin with a tab; only tagged lines are looked into.
    if (line.empty() || line[0] == '\t') continue;
    std::vector<std::string_view> cells = SplitCells(line, '\t');
    if (cells.size() < 4 || cells[0].empty()) continue;
    if (cells[1] != "QUANT" && cells[1] != "POTEN") continue;
    std::optional<double> value = CellNumber(cells[2], '.');
    if (!value) continue;
    Tagged tagged{*value, LabelScale(cells.back()), cells[1] == "POTEN" && cells[3] == "T"};
    values.emplace(std::string(cells[0]), tagged);
  }
  return values;
}

InstrumentSettings SettingsOf(const std::map<std::string, Tagged>& values) {
  auto scaled = [&](const char* key) -> std::optional<double> {
    auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    return found->second.value * found->second.scale;
  };
  std::optional<double> eoc = scaled("EOC");
  auto potential = [&](const char* key) -> std::optional<double> {
    auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    if (!found->second.versusOpenCircuit) return found->second.value;
    if (!eoc) return std::nullopt;
    return found->second.value + *eoc;
  };
  InstrumentSettings settings;
  settings.scanRate = scaled("SCANRATE");
  settings.potentialStep = scaled("STEPSIZE");
  settings.area = scaled("AREA");
  settings.startPotential = potential("VINIT");
  for (const char* key : {"VLIMIT1", "VLIMIT2"}) {
    if (std::optional<double> e = potential(key)) settings.switchingPotentials.push_back(*e);
  }
  if (settings.switchingPotentials.empty()) {
    if (std::optional<double> e = potential("VFINAL")) settings.switchingPotentials.push_back(*e);
  }
  return settings;
}

// The current convention the header declares: "CONVENTION\tIQUANT\t1" is anodic current
// positive, the Framework's default and what every file we have seen holds; 0 is cathodic
// positive. Without the line, anodic positive.
bool DeclaresCathodicPositive(const std::vector<std::string_view>& lines) {
  for (std::string_view line : lines) {
    if (line.substr(0, 11) != "CONVENTION\t") continue;
    std::vector<std::string_view> cells = SplitCells(line, '\t');
    std::optional<double> value = cells.size() >= 3 ? CellNumber(cells[2], '.') : std::nullopt;
    return value && *value == 0;
  }
  return false;
}

// CURVE or CURVE followed by digits: the working electrode's tables.
bool IsWorkingElectrodeTable(std::string_view name) {
  if (name.substr(0, 5) != "CURVE") return false;
  for (char c : name.substr(5)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The data rows of the table whose "NAME\tTABLE" line is at index start: names, units, then
// rows while they begin with a tab. The first table read notes its columns in the file.
ImportedCurve ReadTable(const std::vector<std::string_view>& lines, size_t start,
                        std::string_view name, const ColumnChoice& choice, ImportedFile& file) {
  int line = static_cast<int>(start + 1);
  if (start + 2 >= lines.size()) {
    throw FileFormatError("Input past end of file", line, "a names row and a units row",
                          "the end of the file");
  }
  std::vector<std::string_view> names = SplitCells(lines[start + 1], '\t');
  std::vector<std::string_view> units = SplitCells(lines[start + 2], '\t');
  CurveColumns columns;
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    if (names[i] == "Vf") columns.potential = i;
    if (names[i] == "Im") columns.current = i;
    if (names[i] == "T") columns.time = i;
  }
  ApplyColumnChoice(columns, names, choice, line + 1);
  if (columns.potential < 0 || columns.current < 0) {
    throw FileFormatError("Type mismatch", line + 1, "columns \"Vf\" and \"Im\"",
                          std::string(lines[start + 1]));
  }
  auto unitScale = [&](int column, char base) {
    if (static_cast<size_t>(column) >= units.size()) return 1.0;
    std::vector<std::string_view> words = SplitCells(units[column], ' ');
    double scale = words.empty() || words[0].back() != base ? 0 : UnitScale(words[0]);
    return scale == 0 ? 1.0 : scale;
  };
  columns.potentialScale = unitScale(columns.potential, 'V');
  columns.currentScale = unitScale(columns.current, 'A');
  columns.potentialName = std::string(names[static_cast<size_t>(columns.potential)]);
  columns.currentName = std::string(names[static_cast<size_t>(columns.current)]);
  if (columns.time >= 0) columns.timeScale = 1;  // "T" is in s
  size_t end = start + 3;
  while (end < lines.size() && !lines[end].empty() && lines[end][0] == '\t')
    ++end;
  TableLayout layout{start + 3, end, '\t', '.'};
  layout.width = FilledCells(names);  // a value without a column name is a misread line
  TableRows rows = ReadTableRows(lines, layout, columns);
  ImportedCurve curve;
  curve.label = std::string(name);
  curve.potential = std::move(rows.potential);
  curve.current = std::move(rows.current);
  curve.time = std::move(rows.time);
  if (file.columns.empty()) NoteColumns(file, names, columns);
  return curve;
}

}  // namespace

bool LooksLikeGamryDta(const std::vector<std::string_view>& lines) {
  return lines.size() > 1 && TrimmedCell(lines[0]) == "EXPLAIN" && lines[1].substr(0, 4) == "TAG\t";
}

ImportedFile ReadGamryDta(const std::vector<std::string_view>& lines, const std::string& source,
                          const ColumnChoice& choice) {
  ImportedFile file;
  file.format = "Gamry DTA";
  file.technique = std::string(TrimmedCell(lines[1].substr(4)));
  for (size_t i = 2; i < lines.size(); ++i) {
    std::vector<std::string_view> cells = SplitCells(lines[i], '\t');
    if (cells.size() >= 2 && cells[1] == "TABLE" && IsWorkingElectrodeTable(cells[0])) {
      ImportedCurve curve = ReadTable(lines, i, cells[0], choice, file);
      if (!curve.potential.empty()) file.curves.push_back(std::move(curve));
    }
  }
  if (file.curves.empty()) {
    throw FileFormatError("Input past end of file", static_cast<int>(lines.size()),
                          "a table \"CURVE\\tTABLE\" with data rows", "none");
  }
  // A lone table is the whole measurement.
  if (file.curves.size() == 1) file.curves[0].label.clear();
  if (DeclaresCathodicPositive(lines)) {
    for (ImportedCurve& curve : file.curves) {
      for (double& i : curve.current)
        i = -i;
    }
  }
  Stamp(file.curves, source, SettingsOf(HeaderValues(lines)));
  return file;
}

}  // namespace qalto
