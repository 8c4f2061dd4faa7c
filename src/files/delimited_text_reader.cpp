#include "files/delimited_text_reader.h"

#include <optional>

#include "files/curve_export.h"
#include "files/curve_table.h"
#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

// Lines of header text looked through for the first data line: no export has more, and a
// file of text alone is turned down without reading all of it.
constexpr size_t kMaxHeaderLines = 1000;

struct DataStart {
  size_t line = 0;
  char delimiter = ',';
  char decimalMark = '.';
  size_t cells = 0;
};

// The number of cells of the line when every one is a number with that decimal mark (a comma
// cannot be both delimiter and decimal mark), empty cells at its end aside; else 0.
size_t NumberCells(std::string_view line, char delimiter, char decimalMark) {
  std::vector<std::string_view> cells = RowCells(line, {0, 0, delimiter, decimalMark});
  cells.resize(FilledCells(cells));
  for (std::string_view cell : cells) {
    if (!CellNumber(cell, decimalMark)) return 0;
  }
  return cells.size();
}

// The delimiter and decimal mark that make the line the most number cells, two at least.
std::optional<DataStart> DataLayoutOf(std::string_view line) {
  std::optional<DataStart> best;
  for (char delimiter : {'\t', ';', ',', kBlanks}) {
    for (char mark : {'.', ','}) {
      if (mark == delimiter) continue;
      size_t cells = NumberCells(line, delimiter, mark);
      if (cells >= 2 && (!best || cells > best->cells)) best = DataStart{0, delimiter, mark, cells};
    }
  }
  return best;
}

// The layout of the data from the first data line on. Which decimal mark a table of semicolons,
// tabs or blanks uses shows on the whole file: a line of whole numbers first ("0;1") leaves it
// open until a decimal comma comes; a file that also holds points keeps the point.
TableLayout LayoutOfFile(const std::vector<std::string_view>& lines, const DataStart& start) {
  TableLayout layout{start.line, lines.size(), start.delimiter, start.decimalMark};
  if (start.delimiter == ',' || start.decimalMark == ',') return layout;
  bool comma = false;
  for (size_t i = start.line; i < lines.size(); ++i) {
    if (lines[i].find('.') != std::string_view::npos) return layout;
    comma = comma || lines[i].find(',') != std::string_view::npos;
  }
  if (comma) layout.decimalMark = ',';
  return layout;
}

std::optional<DataStart> FindDataStart(const std::vector<std::string_view>& lines) {
  for (size_t i = 0; i < lines.size() && i < kMaxHeaderLines; ++i) {
    if (std::optional<DataStart> start = DataLayoutOf(lines[i])) {
      start->line = i;
      return start;
    }
  }
  return std::nullopt;
}

// The cells of a heading line: a quoted heading may hold the delimiter ("I (A) cv.txt, cycle 1").
std::vector<std::string_view> HeadingCells(std::string_view line, const TableLayout& layout) {
  if (layout.split != CellSplit::kDelimiter || layout.delimiter == kBlanks ||
      line.find('"') == std::string_view::npos)
    return RowCells(line, layout);
  std::vector<std::string_view> cells;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;  // a doubled quote inside turns twice
    if (line[i] == layout.delimiter && !quoted) {
      cells.push_back(TrimmedCell(line.substr(start, i - start)));
      start = i + 1;
    }
  }
  cells.push_back(TrimmedCell(line.substr(start)));
  return cells;
}

std::string_view Unquoted(std::string_view cell) {
  if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
    return cell.substr(1, cell.size() - 2);
  return cell;
}

// The headings the program's own Export writes: the potential, then a current (or surface
// concentration) per curve, each followed by the curve's name.
bool AreOwnExportHeadings(const std::vector<std::string_view>& headings) {
  if (headings.size() < 2 || Unquoted(headings.front()) != kExportPotentialHeading) return false;
  for (size_t c = 1; c < headings.size(); ++c) {
    std::string_view heading = Unquoted(headings[c]);
    if (!heading.starts_with(kExportCurrentHeading) &&
        !heading.starts_with(kExportConcentrationHeading) &&
        !heading.starts_with(kExportSurfaceExcessHeading))
      return false;
  }
  return true;
}

}  // namespace

ImportedFile ReadDelimitedText(const std::vector<std::string_view>& lines,
                               const std::string& source, const ColumnChoice& choice) {
  std::optional<DataStart> start = FindDataStart(lines);
  if (!start) {
    size_t last = std::min(lines.size(), kMaxHeaderLines);
    throw FileFormatError("Type mismatch", static_cast<int>(last), "a line of two numbers or more",
                          last > 0 ? std::string(lines[last - 1]) : "an empty file");
  }
  // The heading line: the last non-blank line before the data.
  size_t heading = start->line;
  while (heading > 0 && TrimmedCell(lines[heading - 1]).empty())
    --heading;
  TableLayout layout = LayoutOfFile(lines, *start);
  std::vector<std::string_view> headings;
  if (heading > 0) headings = HeadingCells(lines[heading - 1], layout);
  headings.resize(FilledCells(headings));
  bool ownExport = (headings.empty() || AreOwnExportHeadings(headings)) &&
                   start->delimiter == ',' && IsOwnExport(lines, layout);
  if (start->delimiter == ',' && start->decimalMark == '.' && !ownExport) {
    layout = CommaLayoutOfFile(lines, layout, headings.size());
  }
  // Headings explain the columns when there is one for every cell; without them only the
  // potential and the current are known, and a line holding more is refused, unless the
  // program's own Export wrote it.
  if (headings.size() != FilledCells(RowCells(lines[start->line], layout))) headings.clear();
  layout.width = !headings.empty() ? headings.size() : ownExport ? 0 : 2;
  CurveColumns columns;
  if (!headings.empty()) {
    columns = ChooseColumns(headings);
    ApplyColumnChoice(columns, headings, choice, static_cast<int>(heading));
    if (columns.potential >= 0 && columns.current < 0)
      columns.current = columns.potential == 0 ? 1 : 0;
    if (columns.current >= 0 && columns.potential < 0)
      columns.potential = columns.current == 0 ? 1 : 0;
  }
  if (columns.potential < 0) {
    columns.potential = 0;
    columns.current = 1;
    columns.cycle = -1;
    columns.time = -1;
  }
  TableRows rows = ReadTableRows(lines, layout, columns);
  ImportedFile file;
  file.format = "delimited text";
  file.ownExport = ownExport;
  file.curves = SplitAtCycleNumbers(rows, columns.cycle >= 0 ? "scan" : "cycle");
  NoteColumns(file, headings, columns);
  Stamp(file.curves, source, {});
  return file;
}

}  // namespace qalto
