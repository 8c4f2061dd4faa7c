// The program's own two-column CSV: records of potential and current, and the exact messages
// of the ways such a file goes wrong.

#include "files/data_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace qalto {
namespace {

// The text read, as "x,y;x,y;..." for the records or as the failure's description.
std::string Reading(const std::string& text) {
  std::istringstream in(text);
  ImportedCurve curve;
  std::ostringstream out;
  try {
    ReadCurveRecords(in, curve);
  } catch (const RuntimeError& error) {
    return error.Description();
  }
  for (size_t i = 0; i < curve.potential.size(); ++i)
    out << curve.potential[i] << "," << curve.current[i] << ";";
  return out.str();
}

TEST(DataReaderTest, RecordsAndPlacedFailures) {
  const std::pair<std::string, std::string> cases[] = {
      // the text, what Reading gives
      {"0.1,1e-6\r\n0.2,2e-6\r\n0.3,3E-06\r\n", "0.1,1e-06;0.2,2e-06;0.3,3e-06;"},
      // Line feeds or carriage returns alone, no end after the last record, D exponents.
      {"-.5,-1\n.25,+2.5d-3", "-0.5,-1;0.25,0.0025;"},
      {"\r\n  \r\n 0.1 ,\t 1E-06 \r\n\r\n\t\r\n 0.2,   2E-06 \r\n\n", "0.1,1e-06;0.2,2e-06;"},
      // A line break separates values as a comma does.
      {"0.1\n1e-6\n0.2\n\n2e-6\n", "0.1,1e-06;0.2,2e-06;"},
      {"\xEF\xBB\xBF\"0.1\",\"1e-6\"\n \"0.2\" , 2e-6\n", "0.1,1e-06;0.2,2e-06;"},
      {" \r\n\r\n", ""},
      // A header is no record: its words are no numbers.
      {"E (V),I (A)\n0.1,1e-6\n", "Type mismatch in line 1: \"E (V)\""},
      {"0.1,1e-6 A\n", "Type mismatch in line 1: \"1e-6 A\""},
      {"0.1,inf\n", "Type mismatch in line 1: \"inf\""},
      {std::string("0.1,1\0\n", 7), "Type mismatch in line 1: \"1\\x00\""},
      {"0.1,0." + std::string(500, '0') + "1\n",
       "Type mismatch in line 1: \"0." + std::string(38, '0') + "\"..."},
      // Lines are counted whatever their ends; CR LF is one end.
      {"\r\n\r\n1,2\n\n\r\r\n  x  ,5\n", "Type mismatch in line 7: \"x\""},
      {"0.1,1e-6\n0.2,", "Input past end of file in line 2: \"0.2\""},
      {"0.1,1e-6,25, 30 \n", "Bad record length in line 1: \"25, 30\""},
      {"0.1,1e-6," + std::string(100000, 'x'),
       "Bad record length in line 1: \"" + std::string(40, 'x') + "\"..."},
      {"0.1,1\n-1D400,2\n", "Overflow in line 2: \"-1D400\""},
      {"1.7976931348623157e308,1e-999\n", "1.79769e+308,0;"},
  };
  for (const auto& [text, read] : cases)
    EXPECT_EQ(Reading(text), read) << text.substr(0, 60);
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

TEST(DataReaderTest, AFailingMediumIsADeviceErrorOfNoLine) {
  FailingBuffer failing("0.1,1e-6\n0.2,");
  std::istream in(&failing);
  ImportedCurve curve;
  try {
    ReadCurveRecords(in, curve);
    ADD_FAILURE();
  } catch (const DataReadError&) {
    ADD_FAILURE() << "a failure of the medium belongs to no line";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Device I/O error");
  }
}

}  // namespace
}  // namespace qalto
