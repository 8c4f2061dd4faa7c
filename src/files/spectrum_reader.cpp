#include "files/spectrum_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "files/file_format_error.h"
#include "files/table_cells.h"
#include "model/model_limits.h"

namespace qalto {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool StartsWith(const std::string& text, std::string_view start) {
  return text.compare(0, start.size(), start) == 0;
}

// Where the three columns stand in a heading line, and the sign that makes the imaginary
// column Z'' ("-Im(Z)" holds -Z'').
struct SpectrumColumns {
  size_t frequency = 0, real = 0, imaginary = 0;
  double imaginarySign = 1;
  char delimiter = '\t';
};

std::optional<SpectrumColumns> FindColumns(std::string_view line) {
  // a cheap look first: a heading line names its frequency
  if (line.find("req") == std::string_view::npos && line.find("REQ") == std::string_view::npos &&
      line.find("f (Hz)") == std::string_view::npos)
    return std::nullopt;
  for (char delimiter : {'\t', ',', ';'}) {
    const std::vector<std::string_view> cells = SplitCells(line, delimiter);
    if (cells.size() < 3) continue;
    std::optional<size_t> f, re, im;
    double sign = 1;
    for (size_t c = 0; c < cells.size(); ++c) {
      const std::string h = Lower(TrimmedCell(cells[c]));
      if (!f && (StartsWith(h, "freq") || StartsWith(h, "f (hz)"))) f = c;
      const bool primed = StartsWith(h, "z'") && !StartsWith(h, "z''");  // Z', not Z''
      if (!re && (StartsWith(h, "re(z)") || h == "zreal" || primed)) re = c;
      // Z'' as "Im(Z)", "Zimag", "Z''" or "Z\"", or its negative ("-Im(Z)", "-Z''")
      const std::string_view z = h.starts_with('-') ? std::string_view(h).substr(1) : h;
      if (!im && (z.starts_with("im(z)") || z == "zimag" || z.starts_with("z\"") ||
                  z.starts_with("z''"))) {
        im = c;
        sign = StartsWith(h, "-") ? -1 : 1;
      }
    }
    if (f && re && im) return SpectrumColumns{*f, *re, *im, sign, delimiter};
  }
  return std::nullopt;
}

// The three numbers of a data row, or nothing for a line that is no row.
std::optional<std::array<double, 3>> Row(std::string_view line, const SpectrumColumns& columns) {
  const std::vector<std::string_view> cells = SplitCells(line, columns.delimiter);
  const size_t needed = std::max({columns.frequency, columns.real, columns.imaginary});
  if (cells.size() <= needed) return std::nullopt;
  for (char mark : {'.', ','}) {
    if (mark == ',' && columns.delimiter == ',') break;
    auto f = CellNumber(cells[columns.frequency], mark);
    auto re = CellNumber(cells[columns.real], mark);
    auto im = CellNumber(cells[columns.imaginary], mark);
    if (f && re && im) return std::array<double, 3>{*f, *re, columns.imaginarySign * *im};
  }
  return std::nullopt;
}

void CheckRow(const std::array<double, 3>& row, int line, std::string_view text) {
  if (!(row[0] > 0) || !std::isfinite(row[0]))
    throw FileFormatError("Invalid procedure call or argument", line, "a frequency above 0 Hz",
                          std::string(text));
  if (!std::isfinite(row[1]) || !std::isfinite(row[2]))
    throw FileFormatError("Overflow", line, "an impedance within the number range",
                          std::string(text));
}

}  // namespace

std::optional<ImportedFile> ReadSpectrumText(const std::vector<std::string_view>& lines,
                                             const std::string& source) {
  for (size_t head = 0; head < lines.size(); ++head) {
    const std::optional<SpectrumColumns> columns = FindColumns(lines[head]);
    if (!columns) continue;
    ImportedCurve curve;
    curve.source = source;
    size_t i = head + 1;
    // a units line (Gamry) or a blank line (CH Instruments) may stand under the headings
    while (i < lines.size() && i <= head + 2 && !Row(lines[i], *columns))
      ++i;
    for (; i < lines.size(); ++i) {
      const auto row = Row(lines[i], *columns);
      if (!row) break;  // the table ends
      CheckRow(*row, static_cast<int>(i + 1), lines[i]);
      if (curve.potential.size() >= static_cast<size_t>(kMaxPoints / 2))
        throw FileFormatError("Overflow", static_cast<int>(i + 1),
                              "at most " + std::to_string(kMaxPoints / 2) + " frequencies",
                              std::string(lines[i]));
      curve.potential.push_back((*row)[0]);
      curve.current.push_back((*row)[1]);
      curve.imaginary.push_back((*row)[2]);
    }
    if (curve.potential.empty()) {
      const int at = static_cast<int>(std::min(i, lines.size() - 1) + 1);
      throw FileFormatError("Type mismatch", at, "the numbers of the spectrum's table",
                            i < lines.size() ? std::string(lines[i]) : "the end of the file");
    }
    ImportedFile file;
    file.format = "impedance spectrum";
    file.technique = "impedance";
    file.curves.push_back(std::move(curve));
    return file;
  }
  return std::nullopt;
}

}  // namespace qalto
