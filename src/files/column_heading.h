#pragma once
// What a column heading says: the quantity ("Ewe/V", "WE(1).Current (A)", "<I>/mA", "i/µA",
// "Potential (mV)", "cycle number", "Scan") and the factor from its unit to volts or amperes.

#include <string>
#include <string_view>
#include <vector>

namespace qalto {

enum class Quantity { kOther, kPotential, kCurrent, kCycle, kTime };

struct ColumnHeading {
  Quantity quantity = Quantity::kOther;
  double scale = 1;  // V, A or s per unit of the column
};

// The unit of a quantity: "V", "mV", "A", "mA", "µA" (also "uA" and Greek mu), "nA", "pA".
// The factor to volts or amperes; 0 for a unit that is none of these.
double UnitScale(std::string_view unit);

ColumnHeading RecogniseHeading(std::string_view heading);

// The columns a curve is read from, counted from 0.
struct CurveColumns {
  int potential = -1;
  int current = -1;
  int cycle = -1;                          // -1: the file does not number its cycles
  int time = -1;                           // -1: the file has no time column
  double potentialScale = 1;               // V per unit
  double currentScale = 1;                 // A per unit
  double timeScale = 1;                    // s per unit
  std::string potentialName, currentName;  // as the headings read, for messages
};

// The user's choice of the potential and the current column by their headings; an empty name
// leaves the recognised column.
struct ColumnChoice {
  std::string potential, current;
};

// The first potential and first current column among the headings, and a cycle and a time
// column if there are any; potential or current stay -1 when no heading names them.
CurveColumns ChooseColumns(const std::vector<std::string_view>& headings);

// Puts the chosen columns in place of the recognised ones. A chosen heading whose unit is
// that of the quantity (mV, µA, ...) is scaled by it, any other is taken in V or A. A name
// that is not among the headings raises a FileFormatError at headingLine (from 1).
void ApplyColumnChoice(CurveColumns& columns, const std::vector<std::string_view>& headings,
                       const ColumnChoice& choice, int headingLine);

}  // namespace qalto
