#include "common/number_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/error_description.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

TEST(ReadNumber, TheLongestNumericPrefixOrZero) {
  const std::pair<const char*, double> cases[] = {
      {"  -0.3", -0.3}, {"1E4 M", 1e4},   {".5", 0.5},    {"5.", 5.0},
      {"+2", 2.0},      {"1.e-3", 0.001}, {"1d2", 100.0}, {"1e", 1.0},
      {"1e-", 1.0},     {"2.5e+x", 2.5},  {"", 0.0},      {"abc", 0.0},
      {"--1", 0.0},     {".", 0.0},       {"e5", 0.0},    {"1e-999", 0.0},
  };
  for (const auto& [text, value] : cases)
    EXPECT_DOUBLE_EQ(ReadNumber(text), value) << text;
  EXPECT_THROW(ReadNumber("1e999"), RuntimeError);
}

TEST(ReadBoxNumber, AFailureNamesTheBoxAndShowsALongTextByItsStart) {
  EXPECT_EQ(ReadBoxNumber("0.5 V", "E start (V)"), 0.5);
  for (const std::string& text : {std::string("1e999"), std::string(10240, '9')})
    EXPECT_EQ(ErrorDescription([&] { ReadBoxNumber(text, "Noise (A)"); }),
              "Overflow: Noise (A) is " + ShownText(text));
  EXPECT_EQ(ShownText(std::string(21, '9')), "99999999... (21 characters)");
  EXPECT_EQ(ShownText(std::string(20, '9')), std::string(20, '9'));
}

// A number too small for a double (1e-400) reads 0 and is still a number.
TEST(NumberReadingNote, SaysHowATextThatIsNoNumberIsRead) {
  const std::pair<const char*, const char*> cases[] = {
      {"  -1e-3 ", ""},
      {"   ", ""},
      {"abc", "not a number, read as 0"},
      {"1,5", "not a number, read as 1"},
      {"1.5.5", "not a number, read as 1.5"},
      {"inf", "not a number, read as 0"},
      {"1e999", "too large a number"},
      {"1e-400", ""},
  };
  for (const auto& [text, note] : cases)
    EXPECT_EQ(NumberReadingNote(text), note) << text;
}

}  // namespace
}  // namespace qalto
