#include "common/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/int16.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

TEST(FormatNumber, ScientificKeepsThePointAndSignsOnlyNegativeExponents) {
  EXPECT_EQ(FormatNumber(0.001, "0.###e-#"), "1.e-3");
  EXPECT_EQ(FormatNumber(1000, "0.###e-#"), "1.e3");
  EXPECT_EQ(FormatNumber(1000, "#.###e-#"), "1.e3");
  EXPECT_EQ(FormatNumber(9.8e-4, "0.###e-#"), "9.8e-4");
  EXPECT_EQ(FormatNumber(1.23456e-7, "0.###e-#"), "1.235e-7");
  EXPECT_EQ(FormatNumber(-2.5e-3, "0.###e-#"), "-2.5e-3");
  EXPECT_EQ(FormatNumber(9.9996, "0.###e-#"), "1.e1");  // the rounded mantissa carries
  EXPECT_EQ(FormatNumber(0, "0.###e-#"), "0.e0");
  EXPECT_EQ(FormatNumber(0, "#.###e-#"), ".e0");
}

TEST(FormatNumber, GeometryFormatHasTwoDecimals) {
  EXPECT_EQ(FormatNumber(1.00004, "0.##e-0"), "1.e0");
  EXPECT_EQ(FormatNumber(0.250007, "0.##e-0"), "2.5e-1");
  EXPECT_EQ(FormatNumber(0.28209, "0.##e-0"), "2.82e-1");
}

TEST(FormatNumber, OtherPatterns) {
  EXPECT_EQ(FormatNumber(1e-6, "0E-0"), "1E-6");
  EXPECT_EQ(FormatNumber(1e5, "0E-0"), "1E5");
  EXPECT_EQ(FormatNumber(1234.5, "0.####E-0"), "1.2345E3");
  EXPECT_EQ(FormatNumber(0.123456, "0.####"), "0.1235");
  EXPECT_EQ(FormatNumber(-0.3, "0.##"), "-0.3");
  EXPECT_EQ(FormatNumber(1, "0.##"), "1.");
  EXPECT_EQ(FormatNumber(0, "0.##"), "0.");
  EXPECT_EQ(FormatNumber(-0.001, "0.##"), "0.");  // rounds to zero: no minus sign
  EXPECT_EQ(FormatNumber(7.2, "0"), "7");
  EXPECT_EQ(FormatNumber(-3, "0"), "-3");
}

TEST(FormatNumber, InfinityAndNaNOverflowInEveryPattern) {
  for (const char* pattern : {"0.###e-#", "#.###e-#", "0.##e-0", "0.####", "0.####E-0", "0"}) {
    for (double value : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
      EXPECT_THROW(FormatNumber(value, pattern), RuntimeError) << pattern << " " << value;
    }
  }
  EXPECT_EQ(FormatNumber(-1e308, "0.##e-0"), "-1.e308");
  EXPECT_EQ(FormatNumber(1e308, "0").size(), 309u);  // every digit of the largest double
}

TEST(PlainNumber, FifteenDigitsWithoutLeadingZero) {
  EXPECT_EQ(PlainNumber(0.1), ".1");
  EXPECT_EQ(PlainNumber(-0.25), "-.25");
  EXPECT_EQ(PlainNumber(42), "42");
  EXPECT_EQ(PlainNumber(0), "0");
  EXPECT_EQ(PlainNumber(1.0 / 3.0), ".333333333333333");
  EXPECT_EQ(PlainNumber(298.14), "298.14");
  EXPECT_EQ(PlainNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(PlainNumber(0.00001), ".00001");
}

TEST(PlainNumber, ExponentFormForVerySmallAndVeryLarge) {
  EXPECT_EQ(PlainNumber(1e-6), "1E-06");
  EXPECT_EQ(PlainNumber(-2.5e-7), "-2.5E-07");
  EXPECT_EQ(PlainNumber(1e15), "1E+15");
  EXPECT_EQ(PlainNumber(1.5e300), "1.5E+300");
  EXPECT_EQ(PlainNumber(9.99e-6), "9.99E-06");
}

TEST(PlainNumber, PrintedAndTextForms) {
  EXPECT_EQ(PrintedNumber(2), " 2 ");
  EXPECT_EQ(PrintedNumber(-0.5), "-.5 ");
  EXPECT_EQ(PrintedNumber(1e-6), " 1E-06 ");
  EXPECT_EQ(NumberText(0.5), "0.5");
  EXPECT_EQ(NumberText(-0.025), "-0.025");
  EXPECT_EQ(NumberText(0.005 / 0.03), "0.166666666666667");
  EXPECT_EQ(NumberText(2), "2");
}

TEST(ToInt16, RoundsHalfToEvenAndOverflows) {
  EXPECT_EQ(ToInt16(2.5), 2);
  EXPECT_EQ(ToInt16(3.5), 4);
  EXPECT_EQ(ToInt16(-2.5), -2);
  EXPECT_EQ(ToInt16(2.4999), 2);
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_EQ(ToInt16(-32768), -32768);
  EXPECT_THROW(ToInt16(32767.5), RuntimeError);  // rounds to 32768
  EXPECT_THROW(ToInt16(-32769), RuntimeError);
  EXPECT_THROW(ToInt16(1.0 / 0.0), RuntimeError);
  try {
    ToInt16(1e6);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Overflow");
  }
}

}  // namespace
}  // namespace qalto
