// The fit's table: a flag on every value that cannot be trusted as it stands, and the text the
// clipboard takes.

#include "app/fit_table.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

FittedParameter Parameter(int code, const char* name, double value, bool determined, double error) {
  FittedParameter p;
  p.code = code;
  p.name = name;
  p.value = value;
  p.determined = determined;
  p.standardError = error;
  p.lower95 = value - 2 * error;
  p.upper95 = value + 2 * error;
  return p;
}

TEST(FitTableTest, FlagsUndeterminedBoundAndPoorValues) {
  FitResult fit;
  fit.valid = true;
  fit.parameters = {
      Parameter(31, "E0(1)", 0.0501, true, 0.0002), Parameter(11, "ks(1)", 1.0, true, 0.01),
      Parameter(21, "alpha(1)", 0.4, true, 750), Parameter(71, "D(1)", 1e-5, false, 0)};
  const std::vector<FitBounds> bounds = {{31, -0.2, 0.2}, {11, 1e-5, 1.0}, {21, 0.1, 0.9}};
  // The clipboard's text shows each row's flag last.
  EXPECT_EQ(FitTableText(FitTable(fit, bounds)),
            "Parameter\tValue\tStd. error\t95 % low\t95 % high\tFlag\n"
            "E0(1)\t0.0501\t0.0002\t0.0497\t0.0505\t\n"
            "ks(1)\t1\t0.01\t0.98\t1.02\tat bound\n"
            "alpha(1)\t0.4\t750\t-1499.6\t1500.4\tpoorly determined\n"
            "D(1)\t1e-05\t\t\t\tundetermined\n");
  fit.valid = false;  // no fit has run to its end: no rows
  EXPECT_TRUE(FitTable(fit, bounds).empty());
}

}  // namespace
}  // namespace qalto
