// The potential program's E(t) files: the rows read in either column order, with decimal commas,
// and every malformed file refused with the line and what stood there.

#include <gtest/gtest.h>

#include <string>

#include "files/program_file.h"
#include "model/model_limits.h"

namespace qalto {
namespace {

TEST(ProgramFileTest, ReadsTimeAndPotentialInEitherOrder) {
  const auto read = ReadProgramText("t/s,E/V\n0,0.2\n1,-0.4\r\n2,0.2\n", "triangle.csv");
  ASSERT_TRUE(read.Ok()) << read.Error().message;
  const PotentialProgram& p = read.Value();
  EXPECT_TRUE(p.fromFile);
  EXPECT_EQ(p.fileName, "triangle.csv");
  EXPECT_EQ(p.fileTimes, (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(p.filePotentials, (std::vector<double>{0.2, -0.4, 0.2}));
  // A heading naming the potential first swaps the columns.
  const auto swapped = ReadProgramText("E (V);t (s)\n0,2;0\n-0,4;1,5\n", "swapped.txt");
  ASSERT_TRUE(swapped.Ok()) << swapped.Error().message;
  EXPECT_EQ(swapped.Value().fileTimes, (std::vector<double>{0, 1.5}));
  EXPECT_EQ(swapped.Value().filePotentials, (std::vector<double>{0.2, -0.4}));
}

struct BadFile {
  const char* name;
  std::string text;
  const char* message;
};

class BadProgramFileTest : public testing::TestWithParam<BadFile> {};

TEST_P(BadProgramFileTest, IsRefusedNamingWhatIsWrong) {
  const auto read = ReadProgramText(GetParam().text, "p.csv");
  ASSERT_FALSE(read.Ok());
  EXPECT_EQ(read.Error().message, GetParam().message);
}

std::string ManyRows() {
  std::string text;
  for (int k = 0; k <= kMaxPoints; ++k)
    text += std::to_string(k) + ",0.1\n";
  return text;
}

// An empty file, a cell that is no number, times that go back and a missing file: their
// messages are pinned by potential_program.qs.
INSTANTIATE_TEST_SUITE_P(
    Files, BadProgramFileTest,
    testing::Values(
        BadFile{"HeadingOnly", "t,E\n",
                "Potential program Error: p.csv holds 0 rows of t (s) "
                "and E (V); a program needs at least two"},
        BadFile{"OneColumn", "0\n1\n",
                "Potential program Error: p.csv: one column where t (s) and E (V) stand in line "
                "1: \"0\""},
        BadFile{"TimeRepeats", "0,0.1\n0,0.2\n",
                "Potential program Error: p.csv, line 2: t (s) 0 does not follow 0 of line 1: the "
                "times must increase"},
        BadFile{"PotentialOutOfRange", "0,0.1\n1,12\n",
                "Potential program Error: p.csv, line 2: E (V) is 12, t (s) 1; allowed: "
                "potentials between -10 and 10, finite times"},
        BadFile{"TooManyRows", ManyRows(),
                "Potential program Error: p.csv holds more than 100000 rows, the most a curve "
                "holds points"}),
    [](const testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qalto
