#include "files/data_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace qalto {
namespace {

class DataReaderTest : public ::testing::Test {
 protected:
  int Read(const std::string& text) {
    std::istringstream in(text);
    curve = ImportedCurve();
    return ReadCurveRecords(in, curve);
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
  double X(int i) { return curve.potential.at(static_cast<size_t>(i - 1)); }
  double Y(int i) { return curve.current.at(static_cast<size_t>(i - 1)); }

  ImportedCurve curve;
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

TEST_F(DataReaderTest, AnEmptyFileHasNoRecords) {
  EXPECT_EQ(Read(""), 0);
  EXPECT_EQ(Read(" \r\n\r\n"), 0);
  EXPECT_TRUE(curve.potential.empty());
}

TEST_F(DataReaderTest, TextInsteadOfANumberIsATypeMismatchAtItsLine) {
  // A header line is not skipped: its words are the first record, and they are no numbers.
  EXPECT_EQ(Failure("E (V),I (A)\n0.1,1e-6\n"), "Type mismatch in line 1: \"E (V)\"");
  EXPECT_EQ(Failure("0.1,abc\n"), "Type mismatch in line 1: \"abc\"");
  EXPECT_EQ(Failure("0.1,1e-6 A\n"), "Type mismatch in line 1: \"1e-6 A\"");
  EXPECT_EQ(Failure("0.1 0.2,1e-6\n"), "Type mismatch in line 1: \"0.1 0.2\"");
  EXPECT_EQ(Failure("0.1,1e\n"), "Type mismatch in line 1: \"1e\"");
  EXPECT_EQ(Failure("0.1,0x10\n"), "Type mismatch in line 1: \"0x10\"");
  EXPECT_EQ(Failure("0.1,inf\n"), "Type mismatch in line 1: \"inf\"");
  EXPECT_EQ(Failure("0.1,.\n"), "Type mismatch in line 1: \".\"");
  // Quoted text is shown without its quotes; text after the closing quote with them.
  EXPECT_EQ(Failure("0.1,\"one\"\n"), "Type mismatch in line 1: \"one\"");
  EXPECT_EQ(Failure("0.1,\"1e-6\"x\n"), "Type mismatch in line 1: \"\"1e-6\"x\"");
  // Semicolons and tabs between the values make one field of the line.
  EXPECT_EQ(Failure("0.1;1e-6\n"), "Type mismatch in line 1: \"0.1;1e-6\"");
  EXPECT_EQ(Failure("0.1\t1e-6\n"), "Type mismatch in line 1: \"0.1\\t1e-6\"");
  EXPECT_EQ(Failure(std::string("0.1,1\0", 6) + "\n"), "Type mismatch in line 1: \"1\\x00\"");
  // A field longer than any number stops the reading; the message shows its beginning.
  EXPECT_EQ(Failure("0.1," + std::string(500, '1') + "x\n"),
            "Type mismatch in line 1: \"" + std::string(40, '1') + "\"...");
  EXPECT_EQ(Failure("0.1,0." + std::string(500, '0') + "1\n"),
            "Type mismatch in line 1: \"0." + std::string(38, '0') + "\"...");
  // A broken byte-order mark.
  EXPECT_EQ(Failure("\xEF\xBB"
                    "0.1,1\n"),
            "Type mismatch in line 1: \"\\xEF\\xBB0\"");
}

TEST_F(DataReaderTest, LinesAreCountedWhateverTheirEnds) {
  EXPECT_EQ(Failure("0.1,1e-6\r\n0.2,2e-6\r\n0.3,x\r\n"), "Type mismatch in line 3: \"x\"");
  EXPECT_EQ(Failure("1,2\r3,4\r5,x"), "Type mismatch in line 3: \"x\"");
  EXPECT_EQ(Failure("1,2\n3,4\nx,5"), "Type mismatch in line 3: \"x\"");
  // Blank lines count; a carriage return and line feed end one line, not two.
  EXPECT_EQ(Failure("\r\n\r\n1,2\n\n\r\r\n  x  ,5\n"), "Type mismatch in line 7: \"x\"");
  // With one value per line the current has a line of its own.
  EXPECT_EQ(Failure("0.1\n1e-6\n0.2\n\nbad\n"), "Type mismatch in line 5: \"bad\"");
  try {
    Read("0.1,1\n0.2,two\n");
    ADD_FAILURE();
  } catch (const DataReadError& error) {
    EXPECT_EQ(error.Line(), 2);
    EXPECT_EQ(error.Found(), "two");
  }
}

TEST_F(DataReaderTest, MissingValues) {
  // An empty field is a value that is not there.
  EXPECT_EQ(Failure("0.1,\n0.2,2e-6\n"), "Type mismatch in line 1: \"\"");
  EXPECT_EQ(Failure(",1e-6\n"), "Type mismatch in line 1: \"\"");
  EXPECT_EQ(Failure("0.1,1e-6\n0.2, \n"), "Type mismatch in line 2: \"\"");
  // The data end inside a record: the message shows where the record began.
  const std::string pastEnd = "Input past end of file in line 2: \"0.2\"";
  EXPECT_EQ(Failure("0.1,1e-6\n0.2"), pastEnd);
  EXPECT_EQ(Failure("0.1,1e-6\n0.2\n\n"), pastEnd);
  EXPECT_EQ(Failure("0.1,1e-6\n0.2,"), pastEnd);
  EXPECT_EQ(Failure("0.1,1e-6\n0.2,  "), pastEnd);
  EXPECT_EQ(Failure("0.1,1e-6\n\"0.2\"\n"), pastEnd);
}

TEST_F(DataReaderTest, ExtraColumnsAreRefused) {
  // The message shows what follows the current on the line.
  EXPECT_EQ(Failure("0.1,1e-6,5\n0.2,2e-6,6\n"), "Bad record length in line 1: \"5\"");
  EXPECT_EQ(Failure("0.1,1e-6,25, 30 \n"), "Bad record length in line 1: \"25, 30\"");
  EXPECT_EQ(Failure("0.1,1e-6,\n"), "Bad record length in line 1: \"\"");
  EXPECT_EQ(Failure("0.1,1e-6,,\r\n"), "Bad record length in line 1: \",\"");
  // A line holding one value puts the record out of step with the lines.
  EXPECT_EQ(Failure("0.1\n0.2,2e-6\n"), "Bad record length in line 2: \"2e-6\"");
  // The records before the failure stay, and so does the record that failed.
  EXPECT_EQ(Failure("0.1,1e-6\n0.2,2e-6\n0.3,3e-6,9\n"), "Bad record length in line 3: \"9\"");
  EXPECT_EQ(X(2), 0.2);
  EXPECT_EQ(Y(2), 2e-6);
  EXPECT_EQ(X(3), 0.3);
  EXPECT_EQ(Y(3), 3e-6);
  // An endless line after the two values is looked at no further than a field's length.
  EXPECT_EQ(Failure("0.1,1e-6," + std::string(100000, 'x')),
            "Bad record length in line 1: \"" + std::string(40, 'x') + "\"...");
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
    EXPECT_THROW(ReadCurveRecords(in, curve), DataReadError) << int(c);
  }
  EndlessBuffer digits('1');
  std::istream in(&digits);
  try {
    ReadCurveRecords(in, curve);
  } catch (const DataReadError& error) {
    EXPECT_EQ(error.Description(), "Type mismatch in line 1: \"" + std::string(40, '1') + "\"...");
    EXPECT_EQ(error.Found().size(), 400u);
  }
  // Blanks around a value do not count as part of it, however many there are.
  EXPECT_EQ(Read("0.1" + std::string(1000, ' ') + ",\t" + std::string(1000, ' ') + "1e-6\n"), 1);
  EXPECT_EQ(Y(1), 1e-6);
}

// Gives its text, then fails as a file buffer does when the medium cannot be read.
class FailingBuffer : public std::streambuf {
 public:
  explicit FailingBuffer(std::string text) : text_(std::move(text)) {
    setg(text_.data(), text_.data(), text_.data() + text_.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }

 private:
  std::string text_;
};

TEST_F(DataReaderTest, AFailingMediumIsADeviceError) {
  FailingBuffer failing("0.1,1e-6\n0.2,");
  std::istream in(&failing);
  try {
    ReadCurveRecords(in, curve);
    ADD_FAILURE();
  } catch (const DataReadError&) {
    ADD_FAILURE() << "a failure of the medium belongs to no line";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Device I/O error");
  }
  EXPECT_EQ(X(1), 0.1);
  EXPECT_EQ(X(2), 0.2);
}

TEST_F(DataReaderTest, NumbersBeyondTheDoubleRangeOverflow) {
  EXPECT_EQ(Failure("0.1,1e999\n"), "Overflow in line 1: \"1e999\"");
  EXPECT_EQ(Failure("0.1,1\n-1D400,2\n"), "Overflow in line 2: \"-1D400\"");
  EXPECT_EQ(Read("1.7976931348623157e308,-1.7976931348623157e308\n"), 1);
  EXPECT_EQ(Y(1), -1.7976931348623157e308);
  EXPECT_EQ(Read("0.1,1e-999\n"), 1);
  EXPECT_EQ(Y(1), 0);
}

TEST_F(DataReaderTest, RecordsBeyondTheOldFiveThousand) {
  std::string text;
  for (int i = 1; i <= 5001; ++i)
    text += std::to_string(i) + "," + std::to_string(-i) + "\r\n";
  EXPECT_EQ(Read(text), 5001);
  EXPECT_EQ(X(5001), 5001);
  EXPECT_EQ(Y(5001), -5001);
}

}  // namespace
}  // namespace qalto
