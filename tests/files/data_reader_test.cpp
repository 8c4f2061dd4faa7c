#include "files/data_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace qalto {
namespace {

class DataReaderTest : public ::testing::Test {
 protected:
  int Read(const std::string& text, int curve = 1) {
    std::istringstream in(text);
    return ReadCurveRecords(in, *model, curve);
  }
  // The description of the failure reading the text raises, "" when it reads.
  std::string Failure(const std::string& text) {
    try {
      Read(text);
    } catch (const RuntimeError& error) {
      return error.Description();
    }
    return "";
  }
  double X(int i) { return model->PotentialX(i); }
  double Y(int i, int curve = 1) { return model->CurrentY(i, curve); }

  std::unique_ptr<Model> model = std::make_unique<Model>();
};

TEST_F(DataReaderTest, RecordsOfPotentialAndCurrent) {
  EXPECT_EQ(Read("0.1,1e-6\r\n0.2,2e-6\r\n0.3,3E-06\r\n"), 3);
  EXPECT_EQ(X(1), 0.1);
  EXPECT_EQ(Y(1), 1e-6);
  EXPECT_EQ(X(2), 0.2);
  EXPECT_EQ(Y(2), 2e-6);
  EXPECT_EQ(X(3), 0.3);
  EXPECT_EQ(Y(3), 3e-6);
  // Line feeds alone, carriage returns alone, no line end after the last record.
  EXPECT_EQ(Read("-.5,-1\n.25,+2.5d-3"), 2);
  EXPECT_EQ(X(1), -0.5);
  EXPECT_EQ(Y(1), -1);
  EXPECT_EQ(X(2), 0.25);
  EXPECT_EQ(Y(2), 2.5e-3);
  EXPECT_EQ(Read("1,2\r3,4\r"), 2);
  EXPECT_EQ(X(2), 3);
  EXPECT_EQ(Y(2), 4);
}

TEST_F(DataReaderTest, BlanksAroundValuesAndBlankLinesAreIgnored) {
  EXPECT_EQ(Read("\r\n  \r\n 0.1 ,\t 1E-06 \r\n\r\n\t\r\n 0.2,          2E-06 \r\n\r\n  \n"), 2);
  EXPECT_EQ(X(1), 0.1);
  EXPECT_EQ(Y(1), 1e-6);
  EXPECT_EQ(X(2), 0.2);
  EXPECT_EQ(Y(2), 2e-6);
}

TEST_F(DataReaderTest, ValuesMayBeSeparatedByLineBreaks) {
  // One value per line is the same layout: a line break separates values as a comma does.
  EXPECT_EQ(Read("0.1\n1e-6\n0.2\n\n2e-6\n"), 2);
  EXPECT_EQ(X(2), 0.2);
  EXPECT_EQ(Y(2), 2e-6);
}

TEST_F(DataReaderTest, QuotedNumbersAndAByteOrderMark) {
  EXPECT_EQ(Read("\xEF\xBB\xBF\"0.1\",\"1e-6\"\n \"0.2\" , 2e-6\n"), 2);
  EXPECT_EQ(X(1), 0.1);
  EXPECT_EQ(Y(1), 1e-6);
  EXPECT_EQ(X(2), 0.2);
}

TEST_F(DataReaderTest, DataGoToTheirCurveAndLeaveTheRestAlone) {
  model->CurrentY(1, 1) = 7;
  model->PotentialX(3) = 9;
  model->CurrentY(3, 2) = 8;
  EXPECT_EQ(Read("0.1,1\n0.2,2\n", 2), 2);
  EXPECT_EQ(Y(1, 2), 1);
  EXPECT_EQ(Y(2, 2), 2);
  EXPECT_EQ(Y(1, 1), 7);  // other curves keep their columns
  EXPECT_EQ(X(3), 9);     // positions beyond the data keep their values
  EXPECT_EQ(Y(3, 2), 8);
}

TEST_F(DataReaderTest, AnEmptyFileHasNoRecords) {
  model->PotentialX(1) = 5;
  EXPECT_EQ(Read(""), 0);
  EXPECT_EQ(Read(" \r\n\r\n"), 0);
  EXPECT_EQ(X(1), 5);
}

TEST_F(DataReaderTest, TextInsteadOfANumberIsATypeMismatch) {
  // A header line is not skipped: its words are the first record, and they are no numbers.
  EXPECT_EQ(Failure("E (V),I (A)\n0.1,1e-6\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,abc\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,1e-6 A\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1 0.2,1e-6\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,\"one\"\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,\"1e-6\"x\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,1e\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,0x10\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,inf\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,.\n"), "Type mismatch");
  EXPECT_EQ(Failure(std::string("0.1,1\0", 6) + "\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1," + std::string(500, '1') + "x\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,0." + std::string(500, '0') + "1\n"), "Type mismatch");
}

TEST_F(DataReaderTest, MissingValues) {
  EXPECT_EQ(Failure("0.1,\n0.2,2e-6\n"), "Type mismatch");
  EXPECT_EQ(Failure(",1e-6\n"), "Type mismatch");
  EXPECT_EQ(Failure("0.1,1e-6\n0.2, \n"), "Type mismatch");
  // The data end inside a record.
  EXPECT_EQ(Failure("0.1,1e-6\n0.2"), "Input past end of file");
  EXPECT_EQ(Failure("0.1,1e-6\n0.2\n\n"), "Input past end of file");
  EXPECT_EQ(Failure("0.1,1e-6\n0.2,"), "Input past end of file");
  EXPECT_EQ(Failure("0.1,1e-6\n0.2,  "), "Input past end of file");
}

TEST_F(DataReaderTest, ExtraColumnsAreRefused) {
  EXPECT_EQ(Failure("0.1,1e-6,5\n0.2,2e-6,6\n"), "Bad record length");
  EXPECT_EQ(Failure("0.1,1e-6,\n"), "Bad record length");
  // A line holding one value puts the record out of step with the lines.
  EXPECT_EQ(Failure("0.1\n0.2,2e-6\n"), "Bad record length");
  // The records before the failure stay.
  EXPECT_EQ(Failure("0.1,1e-6\n0.2,2e-6\n0.3,3e-6,9\n"), "Bad record length");
  EXPECT_EQ(X(2), 0.2);
  EXPECT_EQ(Y(2), 2e-6);
  EXPECT_EQ(X(3), 0.3);
  EXPECT_EQ(Y(3), 3e-6);
}

// Characters without end, like a device that never runs dry.
class EndlessBuffer : public std::streambuf {
 public:
  explicit EndlessBuffer(char c) : c_(c) {}

 protected:
  int_type underflow() override {
    setg(&c_, &c_, &c_ + 1);
    return traits_type::to_int_type(c_);
  }

 private:
  char c_;
};

TEST_F(DataReaderTest, AFieldWithoutEndStopsTheReading) {
  for (char c : {'1', '\0', 'x'}) {
    EndlessBuffer endless(c);
    std::istream in(&endless);
    EXPECT_THROW(ReadCurveRecords(in, *model, 1), RuntimeError) << int(c);
  }
  // Blanks around a value do not count as part of it, however many there are.
  EXPECT_EQ(Read("0.1" + std::string(1000, ' ') + ",\t" + std::string(1000, ' ') + "1e-6\n"), 1);
  EXPECT_EQ(Y(1), 1e-6);
}

TEST_F(DataReaderTest, NumbersBeyondTheDoubleRangeOverflow) {
  EXPECT_EQ(Failure("0.1,1e999\n"), "Overflow");
  EXPECT_EQ(Read("0.1,1e-999\n"), 1);
  EXPECT_EQ(Y(1), 0);
}

TEST_F(DataReaderTest, AtMostFiveThousandRecords) {
  std::string text;
  for (int i = 1; i <= 5000; ++i)
    text += std::to_string(i) + "," + std::to_string(-i) + "\r\n";
  EXPECT_EQ(Read(text), 5000);
  EXPECT_EQ(X(5000), 5000);
  EXPECT_EQ(Y(5000), -5000);
  model = std::make_unique<Model>();
  EXPECT_EQ(Failure(text + "5001,-5001\r\n"), "Subscript out of range");
  EXPECT_EQ(X(5000), 5000);
  EXPECT_EQ(Y(5000), -5000);
}

}  // namespace
}  // namespace qalto
