#include "files/curve_table.h"

#include <algorithm>
#include <cmath>

#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

std::string ColumnWhat(const std::string& name, int column) {
  if (name.empty()) return "a number in column " + std::to_string(column + 1);
  return "a number in column \"" + name + "\"";
}

ImportedCurve CurveOfRows(const TableRows& rows, size_t from, size_t to, std::string label) {
  ImportedCurve curve;
  curve.label = std::move(label);
  curve.potential.assign(rows.potential.begin() + static_cast<std::ptrdiff_t>(from),
                         rows.potential.begin() + static_cast<std::ptrdiff_t>(to));
  curve.current.assign(rows.current.begin() + static_cast<std::ptrdiff_t>(from),
                       rows.current.begin() + static_cast<std::ptrdiff_t>(to));
  return curve;
}

std::string CycleLabel(const std::string& word, double number) {
  double whole = std::nearbyint(number);
  if (whole == number && std::fabs(whole) < 1e9) {
    return word + " " + std::to_string(static_cast<long long>(whole));
  }
  return word + " " + std::to_string(number);
}

int Direction(double from, double to) {
  return to > from ? 1 : to < from ? -1 : 0;
}

}  // namespace

TableRows ReadTableRows(const std::vector<std::string_view>& lines, const TableLayout& layout,
                        const CurveColumns& columns) {
  TableRows rows;
  size_t needed =
      static_cast<size_t>(std::max({columns.potential, columns.current, columns.cycle})) + 1;
  std::string potentialWhat = ColumnWhat(columns.potentialName, columns.potential);
  std::string currentWhat = ColumnWhat(columns.currentName, columns.current);
  std::size_t count = layout.endLine - layout.firstLine;
  rows.potential.reserve(count);
  rows.current.reserve(count);
  if (columns.cycle >= 0) rows.cycle.reserve(count);
  for (size_t i = layout.firstLine; i < layout.endLine; ++i) {
    if (TrimmedCell(lines[i]).empty()) continue;
    int line = static_cast<int>(i + 1);
    std::vector<std::string_view> cells = SplitCells(lines[i], layout.delimiter);
    if (cells.size() < needed) {
      throw FileFormatError("Bad record length", line,
                            std::to_string(needed) + " values in the line", std::string(lines[i]));
    }
    rows.potential.push_back(
        RequireNumber(cells[columns.potential], layout.decimalMark, line, potentialWhat) *
        columns.potentialScale);
    rows.current.push_back(
        RequireNumber(cells[columns.current], layout.decimalMark, line, currentWhat) *
        columns.currentScale);
    if (columns.cycle >= 0) {
      rows.cycle.push_back(
          RequireNumber(cells[columns.cycle], layout.decimalMark, line, "a cycle number"));
    }
  }
  return rows;
}

std::vector<ImportedCurve> SplitAtCycleNumbers(const TableRows& rows, const std::string& word) {
  std::vector<ImportedCurve> curves;
  size_t n = rows.potential.size();
  if (rows.cycle.size() != n) return {CurveOfRows(rows, 0, n, "")};
  size_t start = 0;
  for (size_t i = 1; i <= n; ++i) {
    if (i == n || rows.cycle[i] != rows.cycle[start]) {
      curves.push_back(CurveOfRows(rows, start, i, CycleLabel(word, rows.cycle[start])));
      start = i;
    }
  }
  if (curves.size() <= 1) return {CurveOfRows(rows, 0, n, "")};
  return curves;
}

std::vector<ImportedCurve> SplitAtVertices(const TableRows& rows) {
  const std::vector<double>& x = rows.potential;
  size_t n = x.size();
  // Where each sweep ends: a point after which the potential turns back.
  std::vector<size_t> sweepEnds;
  int direction = 0;
  for (size_t i = 1; i < n; ++i) {
    int step = Direction(x[i - 1], x[i]);
    if (step == 0) continue;
    if (direction != 0 && step != direction) sweepEnds.push_back(i);
    direction = step;
  }
  sweepEnds.push_back(n);
  if (sweepEnds.size() <= 2) return {CurveOfRows(rows, 0, n, "")};
  std::vector<ImportedCurve> curves;
  size_t start = 0;
  for (size_t s = 1; s < sweepEnds.size(); s += 2) {
    curves.push_back(CurveOfRows(rows, start, sweepEnds[s], "cycle " + std::to_string(s / 2 + 1)));
    start = sweepEnds[s];
  }
  if (start < n) {
    curves.push_back(CurveOfRows(rows, start, n, "cycle " + std::to_string(curves.size() + 1)));
  }
  return curves;
}

void Stamp(std::vector<ImportedCurve>& curves, const std::string& source,
           const InstrumentSettings& settings) {
  for (ImportedCurve& curve : curves) {
    curve.source = source;
    curve.settings = settings;
  }
}

}  // namespace qalto
