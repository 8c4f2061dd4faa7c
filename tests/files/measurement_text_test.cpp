// Measurement files recognised from their content and read into curves in V and A, and the
// messages for files that are not understood.

#include "files/measurement_file.h"

#include <gtest/gtest.h>

#include <string>

#include "files/instrument_samples.h"
#include "files/read_failure_message.h"

namespace qalto {
namespace {

ImportedFile Read(const std::string& text) {
  return ReadMeasurementText(text, "f.txt");
}

std::string Failure(const std::string& text) {
  return ReadFailure(text, "f.txt");
}

// A CHI cycle going negative first, unlike the real exports: Low E is the first switching
// potential.
TEST(MeasurementTextTest, ChiCycleGoingNegativeFirst) {
  ImportedFile chi = Read(ChiSample());
  ASSERT_EQ(chi.curves.size(), 1u);  // one cycle of two segments
  EXPECT_EQ(chi.curves[0].potential, (std::vector<double>{0.1, 0, -0.1, 0}));
  EXPECT_EQ(chi.curves[0].settings.switchingPotentials, (std::vector<double>{-0.1, 0.1}));
}

// The first point of the first curve, and the number of curves, of layouts of delimited text.
TEST(MeasurementTextTest, DelimitedColumnsByTheirHeadingsAndUnits) {
  struct Case {
    std::string text;
    size_t curves;
    double firstE, firstI;  // V, A
  };
  const Case cases[] = {
      {"E/V\tI/A\n0.5\t1e-6\n0.6\t2e-6\n", 1, 0.5, 1e-6},
      {"  0.5   1e-6\n  0.6   2e-6\n", 1, 0.5, 1e-6},
      {"Current (nA),Time (s),Potential (mV)\n5,0,-250\n", 1, -0.25, 5e-9},
      {"my sample\nrun 3\n\nt [s];E [V];j [mA];i [uA]\n0;0,1;9;7\n", 1, 0.1, 7e-6},
      {"a,b,c\n1,2,3\n", 1, 1, 2},
      {std::string("\xFF\xFE\x30\0.\0\x35\0,\0\x31\0\n\0", 14), 1, 0.5, 1}};  // UTF-16 "0.5,1\n"
  for (const Case& c : cases) {
    ImportedFile file = Read(c.text);
    ASSERT_EQ(file.curves.size(), c.curves) << c.text;
    EXPECT_DOUBLE_EQ(file.curves[0].potential[0], c.firstE) << c.text;
    EXPECT_DOUBLE_EQ(file.curves[0].current[0], c.firstI) << c.text;
  }
}

// The program's own Export with its heading line is known as the program's (its currents in the
// store's sign), also where a quoted heading holds a comma; another program's table is not.
TEST(MeasurementTextTest, TheProgramsOwnExportIsKnownByItsHeadings) {
  struct Case {
    std::string text;
    bool own;
    size_t columns;
  };
  const Case cases[] = {
      {"\"E (V)\",\"I (A) cv.txt, cycle 1\"\r\n-.5 ,         -1.5E-06 \r\n 0 ,  2E-06 \r\n", true,
       2},
      {"\"E (V)\",\"I (A) a\",\"I (A) b\"\r\n-.5 ,  1E-06 ,  2E-06 \r\n 0 ,  3E-06 ,  4E-06 \r\n",
       true, 3},
      {"-.5 ,         -1.5E-06 ,  1E-06 ,  2E-06 \r\n", true, 0},
      {"\"E (V)\",\"I (A) cv\"\n-0.5,-1.5E-06\n0,2E-06\n", false, 2},
      {"\"Potential, V\",\"I (A) cv\"\n-.5 , 1E-06 \n0 , 2E-06 \n", false, 2}};
  for (const Case& c : cases) {
    ImportedFile file = Read(c.text);
    EXPECT_EQ(file.ownExport, c.own) << c.text;
    EXPECT_EQ(file.columns.size(), c.columns) << c.text;
    EXPECT_DOUBLE_EQ(file.curves[0].potential[0], -0.5) << c.text;
  }
}

// Columns the user chose by their headings, scaled by the units they name.
TEST(MeasurementTextTest, ChosenColumns) {
  const std::string text =
      "t/s;E/V;Ece/mV;I/mA\n0;0,1;-50;2\n1;0,2;-60;4\n2;0,3;-70;3\n3;0,4;-80;2\n4;0,5;-90;1\n";
  ImportedFile file = ReadMeasurementText(text, "f.txt", {"Ece/mV", ""});
  EXPECT_EQ(file.columns, (std::vector<std::string>{"t/s", "E/V", "Ece/mV", "I/mA"}));
  EXPECT_EQ(file.potentialColumn, "Ece/mV");
  EXPECT_EQ(file.currentColumn, "I/mA");
  EXPECT_DOUBLE_EQ(file.curves[0].potential[1], -0.06);
  EXPECT_DOUBLE_EQ(file.curves[0].current[1], 4e-3);
  // The time column gives the scan rate the header lacks: 0.4 V in 4 s.
  EXPECT_DOUBLE_EQ(Read(text).curves[0].settings.scanRate.value_or(0), 0.1);
}

TEST(MeasurementTextTest, TheMessageNamesFileLineExpectedAndFound) {
  const std::pair<std::string, std::string> cases[] = {
      // the text, its message
      {"E (V),I (A)\n",
       "Type mismatch in line 1 of \"f.txt\": expected a line of two numbers or more, found "
       "\"E (V),I (A)\""},
      {"EC-Lab ASCII FILE\nNb header lines : 4\nCV\nmode\ttime/s\tEwe/V\n1\t2\t3\n",
       "Type mismatch in line 4 of \"f.txt\": expected columns \"Ewe/V\" and \"<I>/mA\", found "
       "\"mode\\ttime/s\\tEwe/V\""},
      {"EC-Lab ASCII FILE\nNb header lines : 99\n",
       "Type mismatch in line 2 of \"f.txt\": expected \"Nb header lines : \" and the number of "
       "lines, found \"Nb header lines : 99\""},
      {ChiSample().substr(0, ChiSample().find("0.100, ")),
       "Input past end of file in line 16 of \"f.txt\": expected data lines after the column "
       "line, found \"the end of the file\""},
      {GamrySample().substr(0, GamrySample().find("CURVE1") + 40),
       "Input past end of file in line 17 of \"f.txt\": expected a names row and a units row, "
       "found \"the end of the file\""},
      {PsSessionSample().substr(0, 120),
       "Type mismatch in line 1 of \"f.txt\": expected the closing quote of a string, found "
       "\"the end of the file\""}};
  for (const auto& [text, message] : cases)
    EXPECT_EQ(Failure(text), message);
  EXPECT_EQ(ReadFailure(ChiSample(), "f.txt", {"Potential/mV", ""}),
            "Type mismatch in line 15 of \"f.txt\": expected a column \"Potential/mV\", found "
            "\"no such column\"");
}

}  // namespace
}  // namespace qalto
