#include "files/column_heading.h"

#include <cctype>

#include "files/file_format_error.h"
#include "files/table_cells.h"

namespace qalto {
namespace {

std::string Lowercase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The heading split into its name and its unit: "Ewe/V", "Time (s)", "E [mV]". The unit's
// first word only: "V vs. Ag/AgCl" is in V.
struct NameAndUnit {
  std::string name;  // lowercase, trimmed
  std::string unit;  // as written
};

NameAndUnit SplitHeading(std::string_view heading) {
  heading = TrimmedCell(heading);
  if (heading.size() >= 2 && heading.front() == '"' && heading.back() == '"') {
    heading = heading.substr(1, heading.size() - 2);
  }
  std::string_view name = heading;
  std::string_view unit;
  // The unit stands in the last brackets: "WE(1).Current (A)".
  size_t open = heading.find_last_of("([");
  if (open != std::string_view::npos) {
    size_t close = heading.find_first_of(")]", open);
    unit = heading.substr(open + 1,
                          (close == std::string_view::npos ? heading.size() : close) - open - 1);
    name = heading.substr(0, open);
  } else if (size_t slash = heading.find('/'); slash != std::string_view::npos) {
    unit = heading.substr(slash + 1);
    name = heading.substr(0, slash);
  }
  unit = TrimmedCell(unit);
  unit = unit.substr(0, unit.find(' '));
  return {Lowercase(TrimmedCell(name)), std::string(unit)};
}

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

bool IsPotentialName(const std::string& name) {
  if (name == "e" || name == "ewe" || name == "e we" || name == "we" || name == "vf" ||
      name == "u" || name == "v" || name == "voltage") {
    return true;
  }
  // The counter electrode's potential is not the working electrode's.
  return Contains(name, "potential") && !Contains(name, "counter");
}

bool IsCurrentName(const std::string& name) {
  if (name == "i" || name == "<i>" || name == "im" || name == "i1" || name == "current") {
    return true;
  }
  // A current density is a current per area, not a current.
  return Contains(name, "current") && !Contains(name, "density") && !Contains(name, "range");
}

bool IsCycleName(const std::string& name) {
  return name == "cycle number" || name == "cycle" || name == "scan" || name == "scan number";
}

// "time/s", "Time (s)", "T" in s or ms; a step time or a time per point is no clock.
bool IsTimeName(const std::string& name) {
  return name == "time" || name == "t" || name == "elapsed time";
}

double TimeScale(const std::string& unit) {
  if (unit.empty() || unit == "s") return 1;
  return unit == "ms" ? 1e-3 : 0;
}

// The factor of a chosen column: its unit's where it is one of the quantity's, else 1.
double ChosenScale(std::string_view heading, char base) {
  std::string unit = SplitHeading(heading).unit;
  double scale = !unit.empty() && unit.back() == base ? UnitScale(unit) : 0;
  return scale == 0 ? 1 : scale;
}

int FindHeading(const std::vector<std::string_view>& headings, const std::string& name) {
  for (int i = 0; i < static_cast<int>(headings.size()); ++i) {
    if (TrimmedCell(headings[i]) == name) return i;
  }
  return -1;
}

}  // namespace

double UnitScale(std::string_view unit) {
  static const std::string kMicroSign = "\xC2\xB5";  // U+00B5
  static const std::string kGreekMu = "\xCE\xBC";    // U+03BC
  if (unit == "V" || unit == "A") return 1;
  std::string prefix(unit.substr(0, unit.size() - 1));
  char base = unit.empty() ? '\0' : unit.back();
  if (base != 'V' && base != 'A') return 0;
  if (prefix == "m") return 1e-3;
  if (prefix == "u" || prefix == kMicroSign || prefix == kGreekMu) return 1e-6;
  if (prefix == "n") return 1e-9;
  if (prefix == "p" && base == 'A') return 1e-12;
  return 0;
}

ColumnHeading RecogniseHeading(std::string_view heading) {
  NameAndUnit parts = SplitHeading(heading);
  if (IsCycleName(parts.name)) return {Quantity::kCycle, 1};
  if (IsTimeName(parts.name)) {
    double scale = TimeScale(parts.unit);
    return scale == 0 ? ColumnHeading{} : ColumnHeading{Quantity::kTime, scale};
  }
  bool potential = IsPotentialName(parts.name);
  bool current = !potential && IsCurrentName(parts.name);
  if (!potential && !current) return {};
  char base = potential ? 'V' : 'A';
  // A missing unit is the base unit; a unit of another quantity makes the column no match.
  if (parts.unit.empty()) return {potential ? Quantity::kPotential : Quantity::kCurrent, 1};
  double scale = parts.unit.back() == base ? UnitScale(parts.unit) : 0;
  if (scale == 0) return {};
  return {potential ? Quantity::kPotential : Quantity::kCurrent, scale};
}

CurveColumns ChooseColumns(const std::vector<std::string_view>& headings) {
  CurveColumns columns;
  for (int i = 0; i < static_cast<int>(headings.size()); ++i) {
    ColumnHeading heading = RecogniseHeading(headings[i]);
    std::string name(TrimmedCell(headings[i]));
    if (heading.quantity == Quantity::kPotential && columns.potential < 0) {
      columns.potential = i;
      columns.potentialScale = heading.scale;
      columns.potentialName = name;
    } else if (heading.quantity == Quantity::kCurrent && columns.current < 0) {
      columns.current = i;
      columns.currentScale = heading.scale;
      columns.currentName = name;
    } else if (heading.quantity == Quantity::kCycle && columns.cycle < 0) {
      columns.cycle = i;
    } else if (heading.quantity == Quantity::kTime && columns.time < 0) {
      columns.time = i;
      columns.timeScale = heading.scale;
    }
  }
  return columns;
}

void ApplyColumnChoice(CurveColumns& columns, const std::vector<std::string_view>& headings,
                       const ColumnChoice& choice, int headingLine) {
  auto apply = [&](const std::string& name, int& column, double& scale, std::string& chosen,
                   char base) {
    if (name.empty()) return;
    column = FindHeading(headings, name);
    if (column < 0) {
      throw FileFormatError("Type mismatch", headingLine, "a column \"" + name + "\"",
                            "no such column");
    }
    scale = ChosenScale(headings[static_cast<size_t>(column)], base);
    chosen = name;
  };
  apply(choice.potential, columns.potential, columns.potentialScale, columns.potentialName, 'V');
  apply(choice.current, columns.current, columns.currentScale, columns.currentName, 'A');
}

}  // namespace qalto
