#include "common/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "common/int16.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

// 9.9996 shows the carry of the rounded mantissa, -0.001 a zero without a minus sign.
TEST(FormatNumber, PatternsOfTheForms) {
  struct Case {
    double value;
    const char *pattern, *text;
  };
  const Case cases[] = {
      {0.001, "0.###e-#", "1.e-3"},     {1000, "#.###e-#", "1.e3"},
      {-2.5e-3, "0.###e-#", "-2.5e-3"}, {9.9996, "0.###e-#", "1.e1"},
      {0, "#.###e-#", ".e0"},           {0.28209, "0.##e-0", "2.82e-1"},
      {1e-6, "0E-0", "1E-6"},           {1234.5, "0.####E-0", "1.2345E3"},
      {0.123456, "0.####", "0.1235"},   {1, "0.##", "1."},
      {-0.001, "0.##", "0."},           {-1e308, "0.##e-0", "-1.e308"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
  EXPECT_EQ(FormatNumber(1e308, "0").size(), 309u);  // every digit of the largest double
}

TEST(FormatNumber, InfinityAndNaNOverflowInEveryPattern) {
  for (const char* pattern : {"0.###e-#", "#.###e-#", "0.##e-0", "0.####", "0.####E-0", "0"})
    for (double value : {HUGE_VAL, -HUGE_VAL, std::nan("")})
      EXPECT_THROW(FormatNumber(value, pattern), RuntimeError) << pattern << " " << value;
}

// The boundaries of the exponent form (1E-05 and 1E+15) and the 15 digits; the print rule
// itself shows in every result the scenarios read.
TEST(PlainNumber, FifteenDigitsNoLeadingZeroExponentBeyondTheRange) {
  EXPECT_EQ(PlainNumber(-0.25), "-.25");
  EXPECT_EQ(PlainNumber(1.0 / 3.0), ".333333333333333");
  EXPECT_EQ(PlainNumber(0.00001), ".00001");
  EXPECT_EQ(PlainNumber(9.99e-6), "9.99E-06");
  EXPECT_EQ(PlainNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(PlainNumber(1e15), "1E+15");
  EXPECT_EQ(PlainNumber(-1.7976931348623157e308), "-1.79769313486232E+308");
  EXPECT_EQ(PlainNumber(4.9406564584124654e-324), "4.94065645841247E-324");
  EXPECT_EQ(NumberText(0.005 / 0.03), "0.166666666666667");
}

TEST(ToInt16, RoundsHalfToEvenAndOverflowsBeyond16Bits) {
  for (const auto& [value, rounded] :
       {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {32767.4, 32767}, {-32768.0, -32768}})
    EXPECT_EQ(ToInt16(value), rounded) << value;
  for (double value : {32767.5, -32769.0, HUGE_VAL})
    EXPECT_THROW(ToInt16(value), RuntimeError) << value;
}

}  // namespace
}  // namespace qalto
