// Commas that are decimal marks, and values no column explains: every such table is either read
// right or refused at its line, never read as some other curve.

#include "files/table_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "files/instrument_samples.h"
#include "files/measurement_file.h"
#include "files/read_failure_message.h"

namespace qalto {
namespace {

struct ReadCase {
  std::string name;
  std::string text;
  double firstE, firstI;  // V, A
  double lastE;           // V
};

class CommaTableTest : public testing::TestWithParam<ReadCase> {};

TEST_P(CommaTableTest, ReadsTheNumbersTheFileHolds) {
  const ReadCase& c = GetParam();
  ImportedFile file = ReadMeasurementText(c.text, "f.csv");
  ASSERT_EQ(file.curves.size(), 1u);
  const ImportedCurve& curve = file.curves[0];
  EXPECT_DOUBLE_EQ(curve.potential.front(), c.firstE);
  EXPECT_DOUBLE_EQ(curve.current.front(), c.firstI);
  EXPECT_DOUBLE_EQ(curve.potential.back(), c.lastE);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CommaTableTest,
    testing::Values(
        // Fixed decimals with nothing between the values: the "-0" and the "000e-05" are no
        // whole numbers any program writes. (Pairs explained by headings, and CH Instruments with
        // a decimal comma: ReaderPropertyTest.)
        ReadCase{"FixedDecimals", "-0,500,-1,000e-05\n-0,490,-9,500e-06\n", -0.5, -1e-5, -0.49},
        // A comma and a blank between values that carry decimal commas.
        ReadCase{"CommaBlank", "E/V, I/A\n0,100, 1,5e-6\n0,2, -2e-6\n", 0.1, 1.5e-6, 0.2},
        // Semicolons: the mark shows on a later line, the first one holding whole numbers.
        ReadCase{"MarkOnALaterLine", "E;I\n0;1\n0,5;1,5\n", 0, 1, 0.5},
        // Whole numbers as wide as the headings, and an empty cell at the end of a line.
        ReadCase{"WholeNumbers", "E,I,t\n1,2,3\n4,5,6,\n", 1, 2, 4},
        ReadCase{"TrailingEmptyCell", "0.1,1e-6,\n0.2,2e-6,\n", 0.1, 1e-6, 0.2}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct RefusedCase {
  std::string name;
  std::string text;
  std::string message;
};

// The sample with the cell 9.9 put in after the text `after` (a row's first cells).
std::string WithExtraCell(std::string sample, const std::string& after) {
  return sample.insert(sample.find(after) + after.size(), "9.9\t");
}

class RefusedTableTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTableTest, NamesTheLineAndWhatWasAmbiguous) {
  EXPECT_EQ(ReadFailure(GetParam().text, "f.csv"), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RefusedTableTest,
    testing::Values(
        // 0,5,1,25 may be 0.5 and 1.25, or 0, 5, 1 and 25: nothing in the file says which.
        RefusedCase{"AmbiguousPairs", "0,5,1,25\n0,6,1,5\n",
                    "Ambiguous decimal comma in line 1 of \"f.csv\": expected 2 values with a "
                    "decimal point, or decimal commas with semicolons or tabs between the values, "
                    "found \"0,5,1,25\""},
        // A third value that no heading names: a time column, perhaps, read as the potential.
        RefusedCase{"ValueNoColumnExplains", "0.1,1e-6\n0.2,2e-6,7\n",
                    "Bad record length in line 2 of \"f.csv\": expected at most 2 values in the "
                    "line, found \"0.2,2e-6,7\""},
        RefusedCase{"MoreValuesThanHeadings", "E;I\n0,1;1;5\n",
                    "Bad record length in line 2 of \"f.csv\": expected at most 2 values in the "
                    "line, found \"0,1;1;5\""},
        RefusedCase{"ChiExtraCell",
                    "Cyclic Voltammetry\nInit E (V) = 0.1\n\nPotential/V, Current/A\n\n"
                    "0.100, 1.000e-6\n0.090, 2.000e-6, 3.0e-6\n",
                    "Bad record length in line 7 of \"f.csv\": expected at most 2 values in the "
                    "line, found \"0.090, 2.000e-6, 3.0e-6\""},
        // The instruments' tab tables: a value beyond the named columns.
        RefusedCase{"EcLabExtraCell", WithExtraCell(EcLabSample(), "2\t1.6\t0.110\t2.5E-003\t"),
                    "Bad record length in line 12 of \"f.csv\": expected at most 5 values in the "
                    "line, found \"2\\t1.6\\t0.110\\t2.5E-003\\t9.9\\t1.0000000000000\"..."},
        RefusedCase{"GamryExtraCell", WithExtraCell(GamrySample(), "\t1\t0.27\t9.60000E-002\t"),
                    "Bad record length in line 21 of \"f.csv\": expected at most 11 values in the "
                    "line, found \"\\t1\\t0.27\\t9.60000E-002\\t9.9\\t1.00000E-007\\t0\\t\"..."}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(RowCellsTest, PairsJoinTheirCommaAgain) {
  TableLayout layout;
  layout.split = CellSplit::kCommaPairs;
  EXPECT_EQ(RowCells("-0,500,-1,000e-05,,", layout),
            (std::vector<std::string_view>{"-0,500", "-1,000e-05"}));
  layout.split = CellSplit::kCommaBlank;
  EXPECT_EQ(RowCells("0,1, 2,5,\t3", layout), (std::vector<std::string_view>{"0,1", "2,5", "3"}));
}

}  // namespace
}  // namespace qalto
