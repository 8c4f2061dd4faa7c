#include "files/column_heading.h"

#include <cctype>

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
    }
  }
  return columns;
}

}  // namespace qalto
