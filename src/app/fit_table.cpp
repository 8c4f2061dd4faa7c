#include "app/fit_table.h"

#include <cmath>
#include <cstdio>

namespace qalto {
namespace {

// A value this close to a bound, relative to the range, lies on it.
constexpr double kOnBound = 1e-6;

bool AtBound(double value, const FitBounds& b) {
  const double reach = kOnBound * std::max(std::fabs(b.maximum - b.minimum),
                                           std::max(std::fabs(b.minimum), std::fabs(b.maximum)));
  return std::fabs(value - b.minimum) <= reach || std::fabs(value - b.maximum) <= reach;
}

std::string Flag(const FittedParameter& p, const std::vector<FitBounds>& bounds) {
  if (!p.determined) return "undetermined";
  for (const FitBounds& b : bounds) {
    if (b.code == p.code && AtBound(p.value, b)) return "at bound";
  }
  if (!(p.standardError <= std::fabs(p.value))) return "poorly determined";
  return "";
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

}  // namespace

std::vector<FitTableRow> FitTable(const FitResult& fit, const std::vector<FitBounds>& bounds) {
  std::vector<FitTableRow> rows;
  if (!fit.valid) return rows;
  for (const FittedParameter& p : fit.parameters) {
    rows.push_back(
        {p.name, p.value, p.standardError, p.lower95, p.upper95, p.determined, Flag(p, bounds)});
  }
  return rows;
}

std::string FitTableText(const std::vector<FitTableRow>& rows) {
  std::string text = "Parameter\tValue\tStd. error\t95 % low\t95 % high\tFlag\n";
  for (const FitTableRow& row : rows) {
    text += row.name + "\t" + Number(row.value) + "\t";
    if (row.determined) {
      text += Number(row.standardError) + "\t" + Number(row.lower95) + "\t" + Number(row.upper95);
    } else {
      text += "\t\t";
    }
    text += "\t" + row.flag + "\n";
  }
  return text;
}

}  // namespace qalto
