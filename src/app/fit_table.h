#pragma once
// The table of a fit's values as the window shows it and the user copies it: one row per fitted
// parameter with its value, standard error, 95 % interval and a flag where the value cannot be
// trusted as it stands.

#include <string>
#include <vector>

#include "model/fit_result.h"

namespace qalto {

struct FitTableRow {
  std::string name;  // "ks(1)"
  double value = 0;
  double standardError = 0;
  double lower95 = 0, upper95 = 0;
  bool determined = false;
  // "undetermined" (the data do not fix it), "at bound" (on the edge of its fitting range),
  // "poorly determined" (its standard error exceeds its size), or empty.
  std::string flag;
};

// The fitting range of a parameter, as its min and max boxes held when the fit ran.
struct FitBounds {
  int code = 0;
  double minimum = 0, maximum = 0;
};

std::vector<FitTableRow> FitTable(const FitResult& fit, const std::vector<FitBounds>& bounds);

// The table as tab-separated text with a heading line, as the clipboard takes it.
std::string FitTableText(const std::vector<FitTableRow>& rows);

}  // namespace qalto
