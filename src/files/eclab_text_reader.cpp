#include "files/eclab_text_reader.h"

#include <cctype>
#include <optional>

#include "files/curve_table.h"
#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (size_t i = 0; i < start.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(start[i]))) {
      return false;
    }
  }
  return true;
}

// A fixed-width setting: the name, two blanks or more, the value.
struct Setting {
  std::string_view name, value;
};
std::optional<Setting> FixedWidthSetting(std::string_view line) {
  size_t gap = line.find("  ");
  if (gap == std::string_view::npos) return std::nullopt;
  return Setting{TrimmedCell(line.substr(0, gap)), TrimmedCell(line.substr(gap))};
}

std::optional<double> NumberEitherMark(std::string_view text) {
  if (std::optional<double> value = CellNumber(text, '.')) return value;
  return CellNumber(text, ',');
}

// The header's settings. A potential is taken only when the "vs." line after it says Ref.
InstrumentSettings SettingsOf(const std::vector<std::string_view>& lines, size_t end) {
  InstrumentSettings settings;
  std::optional<double> rate;
  double rateScale = 1e-3;  // V/s per unit; EC-Lab's default unit is mV/s
  for (size_t i = 0; i < end; ++i) {
    std::string_view line = lines[i];
    if (StartsWithIgnoringCase(line, "Electrode surface area :")) {
      std::vector<std::string_view> words = SplitCells(line.substr(24), ' ');
      if (!words.empty()) settings.area = NumberEitherMark(words[0]);
      continue;
    }
    std::optional<Setting> setting = FixedWidthSetting(line);
    if (!setting) continue;
    auto referencePotential = [&]() -> std::optional<double> {
      std::optional<Setting> vs = i + 1 < end ? FixedWidthSetting(lines[i + 1]) : std::nullopt;
      if (!vs || vs->name != "vs." || vs->value != "Ref") return std::nullopt;
      return NumberEitherMark(setting->value);
    };
    if (setting->name == "dE/dt" && !rate) {
      rate = NumberEitherMark(setting->value);
    } else if (setting->name == "dE/dt unit") {
      if (setting->value == "V/s") rateScale = 1;
    } else if (setting->name == "Ei (V)" && !settings.startPotential) {
      settings.startPotential = referencePotential();
    } else if (setting->name == "E1 (V)" || setting->name == "E2 (V)") {
      if (std::optional<double> e = referencePotential())
        settings.switchingPotentials.push_back(*e);
    }
  }
  if (rate) settings.scanRate = *rate * rateScale;
  return settings;
}

}  // namespace

bool LooksLikeEcLabText(const std::vector<std::string_view>& lines) {
  return !lines.empty() && StartsWithIgnoringCase(lines[0], "EC-Lab ASCII FILE");
}

ImportedFile ReadEcLabText(const std::vector<std::string_view>& lines, const std::string& source,
                           const ColumnChoice& choice) {
  std::optional<double> count;
  if (lines.size() > 1 && StartsWithIgnoringCase(lines[1], "Nb header lines")) {
    size_t colon = lines[1].find(':');
    if (colon != std::string_view::npos)
      count = CellNumber(TrimmedCell(lines[1].substr(colon + 1)), '.');
  }
  if (!count || *count < 3 || *count > static_cast<double>(lines.size())) {
    bool second = lines.size() > 1;
    throw FileFormatError("Type mismatch", second ? 2 : 1,
                          "\"Nb header lines : \" and the number of lines",
                          second ? std::string(lines[1]) : "the end of the file");
  }
  size_t names = static_cast<size_t>(*count) - 1;
  std::vector<std::string_view> headings = SplitCells(lines[names], '\t');
  CurveColumns columns = ChooseColumns(headings);
  ApplyColumnChoice(columns, headings, choice, static_cast<int>(names + 1));
  if (columns.potential < 0 || columns.current < 0) {
    throw FileFormatError("Type mismatch", static_cast<int>(names + 1),
                          "columns \"Ewe/V\" and \"<I>/mA\"", std::string(lines[names]));
  }
  TableLayout layout{names + 1, lines.size(), '\t', '.'};
  layout.width = FilledCells(headings);  // a value without a column name is a misread line
  // The decimal mark of the locale the file was written in, seen in the first potential.
  for (size_t i = layout.firstLine; i < lines.size(); ++i) {
    std::vector<std::string_view> cells = SplitCells(lines[i], '\t');
    if (cells.size() <= static_cast<size_t>(columns.potential)) continue;
    if (cells[columns.potential].find(',') != std::string_view::npos) layout.decimalMark = ',';
    break;
  }
  TableRows rows = ReadTableRows(lines, layout, columns);
  if (rows.potential.empty()) {
    throw FileFormatError("Input past end of file", static_cast<int>(lines.size()),
                          "data lines after the column names", "the end of the file");
  }
  ImportedFile file;
  file.format = "EC-Lab text";
  // The technique's name is the first line of text after the header count.
  for (size_t i = 2; i < names && file.technique.empty(); ++i)
    file.technique = std::string(TrimmedCell(lines[i]));
  file.curves = SplitAtCycleNumbers(rows, "cycle");
  NoteColumns(file, headings, columns);
  Stamp(file.curves, source, SettingsOf(lines, names));
  return file;
}

}  // namespace qalto
