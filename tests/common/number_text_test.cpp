#include "common/number_text.h"

#include <gtest/gtest.h>

#include <utility>

#include "common/runtime_error.h"

namespace qalto {
namespace {

TEST(ReadNumber, TakesTheLongestNumericPrefix) {
  EXPECT_DOUBLE_EQ(ReadNumber("0.3"), 0.3);
  EXPECT_DOUBLE_EQ(ReadNumber("  -0.3"), -0.3);
  EXPECT_DOUBLE_EQ(ReadNumber("1e-3"), 0.001);
  EXPECT_DOUBLE_EQ(ReadNumber("1E4 M"), 1e4);
  EXPECT_DOUBLE_EQ(ReadNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ReadNumber("5."), 5.0);
  EXPECT_DOUBLE_EQ(ReadNumber("+2"), 2.0);
  EXPECT_DOUBLE_EQ(ReadNumber("1.e-3"), 0.001);  // the program's own "0.###e-#" texts
  EXPECT_DOUBLE_EQ(ReadNumber("2.5e-1"), 0.25);
  EXPECT_DOUBLE_EQ(ReadNumber("1d2"), 100.0);
}

TEST(ReadNumber, TextWithoutALeadingNumberReadsZero) {
  EXPECT_EQ(ReadNumber(""), 0.0);
  EXPECT_EQ(ReadNumber("abc"), 0.0);
  EXPECT_EQ(ReadNumber("--1"), 0.0);
  EXPECT_EQ(ReadNumber("-"), 0.0);
  EXPECT_EQ(ReadNumber("."), 0.0);
  EXPECT_EQ(ReadNumber("e5"), 0.0);
  EXPECT_EQ(ReadNumber("KCl"), 0.0);
}

TEST(ReadNumber, IncompleteExponentKeepsTheMantissa) {
  EXPECT_EQ(ReadNumber("1e"), 1.0);
  EXPECT_EQ(ReadNumber("1e-"), 1.0);
  EXPECT_EQ(ReadNumber("2.5e+x"), 2.5);
}

TEST(ReadNumber, TooLargeIsAnOverflow) {
  EXPECT_THROW(ReadNumber("1e999"), RuntimeError);
  EXPECT_EQ(ReadNumber("1e-999"), 0.0);
}

TEST(NumberReadingNote, SaysHowATextThatIsNoNumberIsRead) {
  const std::pair<const char*, const char*> cases[] = {
      {"0.3", ""},
      {"  -1e-3 ", ""},
      {"", ""},
      {"   ", ""},
      {"abc", "not a number, read as 0"},
      {"1,5", "not a number, read as 1"},
      {"1.5.5", "not a number, read as 1.5"},
      {"0.5 V", "not a number, read as 0.5"},
      {"1e", "not a number, read as 1"},
      {"NaN", "not a number, read as 0"},
      {"inf", "not a number, read as 0"},
      {"1e999", "too large a number"},
      {"1e-400", ""},  // a number too small for a double reads 0 and is still a number
  };
  for (const auto& [text, note] : cases)
    EXPECT_EQ(NumberReadingNote(text), note) << text;
}

}  // namespace
}  // namespace qalto
