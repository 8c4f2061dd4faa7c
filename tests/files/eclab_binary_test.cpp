// EC-Lab's binary files: the real ones against their text exports, and small files of our own
// for what a damaged or unknown file does.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "common/test_names.h"
#include "files/file_format_error.h"
#include "files/measurement_file.h"
#include "files/read_failure_message.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

const std::filesystem::path kInstruments = QALTO_INSTRUMENTS_DIR;

struct Twin {
  const char* binary;
  const char* text;
  double potentialDigits;  // relative precision the text prints the potential with
  double currentDigits;    // and the current
};

class EcLabTwinTest : public ::testing::TestWithParam<Twin> {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  }
};

void ExpectSameToPrintedDigits(const std::vector<double>& binary, const std::vector<double>& text,
                               double digits, const char* what) {
  ASSERT_EQ(binary.size(), text.size()) << what;
  for (size_t i = 0; i < text.size(); ++i)
    ASSERT_NEAR(binary[i], text[i], digits * std::abs(text[i]) + 1e-300) << what << " point " << i;
}

// Each binary file and its text export are the same measurement: the same curves, labels,
// points, potentials, currents and times, to the digits the export prints.
TEST_P(EcLabTwinTest, BinaryAndTextExportGiveTheSameCurves) {
  const Twin& twin = GetParam();
  ImportedFile binary = ReadMeasurementFile((kInstruments / twin.binary).string());
  ImportedFile text = ReadMeasurementFile((kInstruments / twin.text).string());
  EXPECT_EQ(binary.format, "EC-Lab binary");
  EXPECT_EQ(binary.technique, text.technique);
  EXPECT_EQ(binary.potentialColumn, text.potentialColumn);
  EXPECT_EQ(binary.currentColumn, text.currentColumn);
  ASSERT_EQ(binary.curves.size(), text.curves.size());
  for (size_t k = 0; k < text.curves.size(); ++k) {
    const ImportedCurve& b = binary.curves[k];
    const ImportedCurve& t = text.curves[k];
    EXPECT_EQ(b.label, t.label);
    ExpectSameToPrintedDigits(b.potential, t.potential, twin.potentialDigits, "potential");
    ExpectSameToPrintedDigits(b.current, t.current, twin.currentDigits, "current");
    ExpectSameToPrintedDigits(b.time, t.time, 1e-15, "time");
  }
  if (text.curves[0].settings.area) {
    ASSERT_TRUE(binary.curves[0].settings.area.has_value());
    EXPECT_NEAR(*binary.curves[0].settings.area, *text.curves[0].settings.area, 1e-7);
  }
}

// Float potentials print with 8 digits; <I> is a double printed with 16, the CA's I a float.
INSTANTIATE_TEST_SUITE_P(
    Corpus, EcLabTwinTest,
    ::testing::Values(
        Twin{"biologic_mpr/cv.mpr", "biologic_mpr/cv.mpt", 5e-8, 1e-15},
        Twin{"biologic_mpr/lsv.mpr", "biologic_mpr/lsv.mpt", 5e-8, 1e-15},
        Twin{"biologic_mpr/ca.mpr", "biologic_mpr/ca.mpt", 5e-8, 5e-8},
        Twin{"biologic_mpr/cv.issue_149.mpr", "biologic_mpt/cv.issue_149.mpt", 5e-8, 1e-15},
        Twin{"biologic_mpr/cva.issue_202.mpr", "biologic_mpt/cva.issue_202.mpt", 5e-8, 1e-15}),
    NameFrom<&Twin::binary>());

// The scan rate the binary file's times show, beside the one the export's header states.
TEST(EcLabBinaryTest, ScanRateFromTheTimes) {
  if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  ImportedFile file =
      ReadMeasurementFile((kInstruments / "biologic_mpr/cv.issue_149.mpr").string());
  ASSERT_EQ(file.curves.size(), 3u);
  EXPECT_EQ(file.curves[2].label, "cycle 3");
  ASSERT_TRUE(file.curves[0].settings.scanRate.has_value());
  EXPECT_NEAR(*file.curves[0].settings.scanRate, 0.05, 0.0025);
}

// The values' bytes as the machine holds them (little-endian, as the files are).
template <class... T>
void Append(std::string& bytes, T... values) {
  auto one = [&bytes](auto value) {
    char raw[sizeof(value)];
    std::memcpy(raw, &value, sizeof(value));
    bytes.append(raw, sizeof(value));
  };
  (one(values), ...);
}

// A file of our own: the magic, modules of the old header layout, a data module of version 3
// holding time, Ewe, <I> and the cycle number behind one flag byte.
std::string Module(const std::string& name, uint32_t version, const std::string& data) {
  std::string module = "MODULE";
  module += (name + std::string(10, ' ')).substr(0, 10);
  module += (name + std::string(25, ' ')).substr(0, 25);
  Append(module, static_cast<uint32_t>(data.size()), version);
  return module + "12/07/26" + data;
}

struct Point {
  double time, potential, current, cycle;
};

// The head of a data module of version 3: the number of records, the column ids, zeros up to
// the first record.
std::string DataHead(const std::vector<uint16_t>& ids, size_t records) {
  std::string data;
  Append(data, static_cast<uint32_t>(records), static_cast<uint8_t>(ids.size()));
  for (uint16_t id : ids)
    Append(data, id);
  data.resize(406, '\0');
  return data;
}

std::string DataModule(const std::vector<uint16_t>& ids, const std::vector<Point>& points) {
  std::string data = DataHead(ids, points.size());
  for (const Point& p : points)
    Append(data, uint8_t{2}, p.time, static_cast<float>(p.potential), p.current, p.cycle);
  return data;
}

std::string BinaryFile(const std::string& modules) {
  std::string bytes = "BIO-LOGIC MODULAR FILE\x1A";
  bytes.resize(48, ' ');
  bytes.append(4, '\0');
  return bytes + modules;
}

const std::vector<uint16_t> kIds = {1, 4, 6, 11, 24};
const std::vector<Point> kPoints = {
    {0.0, 0.5, 1.5, 1}, {0.1, 0.25, -2.0, 1}, {0.2, 0.0, -0.5, 2}, {0.3, 0.25, 0.75, 2}};

TEST(EcLabBinaryTest, ReadsCyclesInVoltsAndAmperes) {
  std::string bytes = BinaryFile(Module("VMP Set", 0, std::string(600, '\x06')) +
                                 Module("VMP data", 3, DataModule(kIds, kPoints)));
  ImportedFile file = ReadMeasurementText(bytes, "own.mpr");
  EXPECT_EQ(file.technique, "Cyclic Voltammetry");
  ASSERT_EQ(file.curves.size(), 2u);
  EXPECT_EQ(file.curves[1].label, "cycle 2");
  EXPECT_EQ(file.curves[1].potential, (std::vector<double>{0.0, 0.25}));
  ASSERT_EQ(file.curves[1].current.size(), 2u);
  EXPECT_DOUBLE_EQ(file.curves[1].current[0], -0.5e-3);
  EXPECT_DOUBLE_EQ(file.curves[1].current[1], 0.75e-3);
  EXPECT_EQ(file.curves[0].time, (std::vector<double>{0.0, 0.1}));
  EXPECT_EQ(file.curves[0].source, "own.mpr");
}

// A potentiostatic impedance file as EC-Lab writes one: behind the flag byte each record holds
// the frequency, Re(Z), -Im(Z), |Z|, the phase, the time, <Ewe>, <I>, the cycle number and the
// current range, one record per frequency.
struct ImpedanceRow {
  float frequency, real, minusImaginary;
  double cycle;
};

std::string ImpedanceFile(const std::vector<ImpedanceRow>& rows) {
  std::string data = DataHead({1, 2, 3, 32, 37, 38, 36, 35, 4, 77, 76, 24, 39}, rows.size());
  for (const ImpedanceRow& row : rows)
    Append(data, uint8_t{1}, row.frequency, row.real, row.minusImaginary,
           std::hypot(row.real, row.minusImaginary), -45.0f, 12.5, 0.1f, 0.002f, row.cycle,
           uint16_t{3});
  return BinaryFile(Module("VMP Set", 0, std::string(600, '\0')) + Module("VMP data", 3, data));
}

const std::vector<ImpedanceRow> kTwoSpectra = {{1000, 50.5f, 2.25f, 1}, {100, 60, 20, 1},
                                               {10, 90, 55.5f, 1},      {1000, 51, 2.5f, 2},
                                               {100, 61, 21, 2},        {10, 91, 56, 2}};

TEST(EcLabBinaryTest, ReadsAnImpedanceSpectrumPerCycle) {
  ImportedFile file = ReadMeasurementText(ImpedanceFile(kTwoSpectra), "peis.mpr");
  EXPECT_EQ(file.technique, "impedance");
  ASSERT_EQ(file.curves.size(), 2u);
  EXPECT_EQ(file.curves[1].label, "cycle 2");
  EXPECT_EQ(file.curves[0].potential, (std::vector<double>{1000, 100, 10}));
  EXPECT_EQ(file.curves[0].current, (std::vector<double>{50.5, 60, 90}));
  // The file holds -Z''; the curve holds Z'', negative for a capacitive cell.
  EXPECT_EQ(file.curves[1].imaginary, (std::vector<double>{-2.5, -21, -56}));
  EXPECT_EQ(file.curves[1].source, "peis.mpr");
}

using EcLabImportTest = AppTest;

TEST_F(EcLabImportTest, ImportedSpectrumIsTheMeasuredCurveOfTheStore) {
  TempFolder folder;
  Import(folder.Write("peis.mpr", ImpedanceFile({kTwoSpectra.begin(), kTwoSpectra.begin() + 3})));
  ASSERT_EQ(model.SpectrumFrequencies, 3)
      << (platform.messages.empty() ? "" : platform.messages.back());
  EXPECT_EQ(model.PotentialX(2), 100);
  EXPECT_EQ(model.CurrentY(2, model.CurrentCurve), 60);   // Z' at 100 Hz
  EXPECT_EQ(model.CurrentY(5, model.CurrentCurve), -20);  // Z'' at 100 Hz
  EXPECT_EQ(app.Ins().TextFfrom.Text(), "1000");
}

struct Damage {
  const char* what;
  std::string bytes;
  const char* message;  // the whole text the import shows
};

class EcLabBinaryDamageTest : public ::testing::TestWithParam<Damage> {};

TEST_P(EcLabBinaryDamageTest, IsRefusedNamingWhatWasFound) {
  EXPECT_EQ(ReadFailure(GetParam().bytes, "own.mpr"), GetParam().message);
}

const std::string kWhole = BinaryFile(Module("VMP data", 3, DataModule(kIds, kPoints)));

INSTANTIATE_TEST_SUITE_P(
    Cases, EcLabBinaryDamageTest,
    ::testing::Values(
        Damage{"cut in a record", kWhole.substr(0, kWhole.size() - 10),
               "Input past end of file in \"own.mpr\": expected 522 bytes of module \"VMP data\", "
               "found \"the end of the file at byte 621\""},
        Damage{"cut in a header", kWhole.substr(0, 100),
               "Input past end of file in \"own.mpr\": expected the header of module \"VMP data\", "
               "found \"the end of the file at byte 100\""},
        Damage{"no module", BinaryFile("MODUL"),
               "Type mismatch in \"own.mpr\": expected \"MODULE\" at byte 52, found \"MODUL\""},
        Damage{"no data module", BinaryFile(Module("VMP Set", 0, "x")),
               "Type mismatch in \"own.mpr\": expected a module \"VMP data\", found \"VMP Set\""},
        Damage{"an unknown column", BinaryFile(Module("VMP data", 3, DataModule({1, 4, 999}, {}))),
               "Type mismatch in \"own.mpr\": expected a column the program knows, found \"column "
               "id 999 at byte 118\""},
        Damage{"an unknown version", BinaryFile(Module("VMP data", 7, DataModule(kIds, kPoints))),
               "Type mismatch in \"own.mpr\": expected a data module of version 2, 3 or 11, "
               "found \"version 7\""},
        Damage{"no current", BinaryFile(Module("VMP data", 3, DataModule({1, 4, 6}, {}))),
               "Type mismatch in \"own.mpr\": expected columns \"Ewe/V\" and \"<I>/mA\", found "
               "\"the columns of the data\""},
        Damage{"an impedance record without a frequency",
               ImpedanceFile({{1000, 50, 2, 1}, {0, 60, 20, 1}}),
               "Invalid procedure call or argument in \"own.mpr\": expected a frequency above 0 "
               "Hz, found \"freq/Hz 0 in point 2\""},
        Damage{"more records than bytes",
               BinaryFile(Module("VMP data", 3, DataModule(kIds, kPoints).substr(0, 406 + 29 * 3))),
               "Input past end of file in \"own.mpr\": expected 4 records of 29 bytes in module "
               "\"VMP data\", found \"493 bytes of data\""}),
    NameFrom<&Damage::what>());

// Every prefix of a real file is read whole or refused with a message, never a crash.
TEST(EcLabBinaryTest, EveryCutOfARealFileIsRefused) {
  if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  const std::string bytes = TempFolder::Read(kInstruments / "biologic_mpr/cva.issue_202.mpr");
  ASSERT_GT(bytes.size(), 30000u);
  for (size_t keep = 24; keep < bytes.size(); keep += 997)
    EXPECT_THROW(ReadMeasurementText(bytes.substr(0, keep), "cut.mpr"), FileFormatError) << keep;
}

}  // namespace
}  // namespace qalto
