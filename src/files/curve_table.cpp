#include "files/curve_table.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/run_monitor.h"
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
  if (rows.time.size() == rows.potential.size()) {
    curve.time.assign(rows.time.begin() + static_cast<std::ptrdiff_t>(from),
                      rows.time.begin() + static_cast<std::ptrdiff_t>(to));
  }
  return curve;
}

// The scan rate of the sweep between the curve's lowest and highest potential: the slope of
// a straight line through its potentials against time, leaving out the tenth of the span at
// either end where the program turns and the measured potential lags; a line through many
// points, unlike a point-to-point rate, hardly feels the noise of measured potentials.
// Nothing without times, or when the sweep has too few points or no duration.
std::optional<double> ScanRateOfTimes(const ImportedCurve& curve) {
  const std::vector<double>& e = curve.potential;
  const std::vector<double>& t = curve.time;
  if (t.size() != e.size() || e.size() < 2) return std::nullopt;
  auto [low, high] = std::minmax_element(e.begin(), e.end());
  size_t from = static_cast<size_t>(std::min(low, high) - e.begin());
  size_t to = static_cast<size_t>(std::max(low, high) - e.begin());
  double margin = 0.1 * (*high - *low);  // V
  auto inside = [&](size_t i) { return e[i] >= *low + margin && e[i] <= *high - margin; };
  // Sums about the means, which keeps the slope exact to rounding on long clocks.
  double n = 0, tMean = 0, eMean = 0;
  for (size_t i = from; i <= to; ++i) {
    if (!inside(i)) continue;
    n += 1;
    tMean += t[i];
    eMean += e[i];
  }
  if (n < 3) return std::nullopt;
  tMean /= n;
  eMean /= n;
  double stt = 0, ste = 0;
  for (size_t i = from; i <= to; ++i) {
    if (!inside(i)) continue;
    stt += (t[i] - tMean) * (t[i] - tMean);
    ste += (t[i] - tMean) * (e[i] - eMean);
  }
  double rate = std::fabs(ste / stt);  // V/s
  if (!std::isfinite(rate) || rate == 0) return std::nullopt;
  return rate;
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
  size_t needed = static_cast<size_t>(
                      std::max({columns.potential, columns.current, columns.cycle, columns.time})) +
                  1;
  std::string potentialWhat = ColumnWhat(columns.potentialName, columns.potential);
  std::string currentWhat = ColumnWhat(columns.currentName, columns.current);
  std::size_t count = layout.endLine - layout.firstLine;
  rows.potential.reserve(count);
  rows.current.reserve(count);
  if (columns.cycle >= 0) rows.cycle.reserve(count);
  if (columns.time >= 0) rows.time.reserve(count);
  for (size_t i = layout.firstLine; i < layout.endLine; ++i) {
    // A long file is read in a moment, but a time limit or Cancel still stops it.
    if ((i - layout.firstLine) % 4096 == 4095) {
      PollPoint(static_cast<int>(i - layout.firstLine), static_cast<int>(count));
    }
    if (TrimmedCell(lines[i]).empty()) continue;
    int line = static_cast<int>(i + 1);
    std::vector<std::string_view> cells = RowCells(lines[i], layout);
    if (cells.size() < needed) {
      throw FileFormatError("Bad record length", line,
                            std::to_string(needed) + " values in the line", std::string(lines[i]));
    }
    if (layout.width != 0 && FilledCells(cells) > layout.width) {
      // Values no column explains: a misread layout, not data to leave out.
      throw FileFormatError("Bad record length", line,
                            "at most " + std::to_string(layout.width) + " values in the line",
                            std::string(lines[i]));
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
    if (columns.time >= 0) {
      rows.time.push_back(RequireNumber(cells[columns.time], layout.decimalMark, line, "a time") *
                          columns.timeScale);
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
  InstrumentSettings stamped = settings;
  if (!stamped.scanRate && !curves.empty()) {
    auto longest = std::max_element(curves.begin(), curves.end(), [](const auto& a, const auto& b) {
      return a.potential.size() < b.potential.size();
    });
    stamped.scanRate = ScanRateOfTimes(*longest);
  }
  for (ImportedCurve& curve : curves) {
    curve.source = source;
    curve.settings = stamped;
  }
}

void NoteColumns(ImportedFile& file, const std::vector<std::string_view>& headings,
                 const CurveColumns& columns) {
  file.columns.clear();
  for (std::string_view heading : headings) {
    std::string name(TrimmedCell(heading));
    if (!name.empty()) file.columns.push_back(name);
  }
  auto nameOf = [&](int column) {
    return column >= 0 && static_cast<size_t>(column) < headings.size()
               ? std::string(TrimmedCell(headings[static_cast<size_t>(column)]))
               : std::string();
  };
  file.potentialColumn = nameOf(columns.potential);
  file.currentColumn = nameOf(columns.current);
}

}  // namespace qalto
