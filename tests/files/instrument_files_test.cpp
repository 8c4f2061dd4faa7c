// Real exports of six instrument programs, read from the shared folder at run time. The
// expected numbers were taken from the files' own text (first and last data row, the header's
// scan rate), not from the program.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "common/test_names.h"
#include "files/cycle_overlay.h"
#include "files/measurement_file.h"

namespace qalto {
namespace {

const std::filesystem::path kInstruments = QALTO_INSTRUMENTS_DIR;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct SampleFile {
  const char* path;                     // below the instruments folder
  const char* format;                   // the reader that understands it
  size_t curves;                        // cycles, segments or scans
  size_t points;                        // all curves together
  double firstE, firstI, lastE, lastI;  // V, A: first point of the first curve, last of the last
  double scanRate;                      // V/s; kNone when the file holds none
};

class InstrumentFileTest : public ::testing::TestWithParam<SampleFile> {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  }
};

TEST_P(InstrumentFileTest, ReadsEveryPointInVoltsAndAmperes) {
  const SampleFile& sample = GetParam();
  ImportedFile file = ReadMeasurementFile((kInstruments / sample.path).string());
  EXPECT_EQ(file.format, sample.format);
  ASSERT_EQ(file.curves.size(), sample.curves);
  size_t points = 0;
  for (const ImportedCurve& curve : file.curves) {
    EXPECT_EQ(curve.potential.size(), curve.current.size());
    points += curve.potential.size();
  }
  EXPECT_EQ(points, sample.points);
  const ImportedCurve& first = file.curves.front();
  const ImportedCurve& last = file.curves.back();
  EXPECT_DOUBLE_EQ(first.potential.front(), sample.firstE);
  EXPECT_DOUBLE_EQ(first.current.front(), sample.firstI);
  EXPECT_DOUBLE_EQ(last.potential.back(), sample.lastE);
  EXPECT_DOUBLE_EQ(last.current.back(), sample.lastI);
  if (std::isnan(sample.scanRate)) {
    EXPECT_FALSE(first.settings.scanRate.has_value());
  } else {
    ASSERT_TRUE(first.settings.scanRate.has_value());
    // NOVA files hold none: the rate is the slope of their potentials against time.
    EXPECT_NEAR(*first.settings.scanRate, sample.scanRate, 1e-9 * sample.scanRate);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, InstrumentFileTest,
    ::testing::Values(
        SampleFile{"chi/01 GC WE Pt RE Pt CE 10 mM ferricyanide in 100 mM KCl 20 mV scan rate.csv",
                   "CH Instruments text", 3, 6000, -0.5, -5.780e-5, -0.499, -3.183e-5, 0.02},
        SampleFile{"chi/CV-1T.txt", "CH Instruments text", 1, 1400, -0.5, -4.214e-4, -0.499,
                   -4.127e-4, 0.04},
        SampleFile{"chi/CV_microelectrode.csv", "CH Instruments text", 1, 1600, 0, 1.100e-9, 0.001,
                   9.904e-10, 0.01},
        SampleFile{"chi/LSV.txt", "CH Instruments text", 1, 500, -0.2, 8.053e-6, -0.699, -3.679e-3,
                   0.005},
        SampleFile{"autolab_nova/hermann_2021_effect_138279_f5a_black.csv", "delimited text", 2,
                   9997, -0.60028076171875, -2.50244140625E-08, -0.59722900390625,
                   1.995849609375E-08, 0.010150420118918558},
        SampleFile{"autolab_nova/hermann_2021_effect_138279_f5a_red.csv", "delimited text", 2,
                   10034, -0.5999755859375, -2.62451171875E-08, -0.59722900390625,
                   2.9327392578125E-08, 0.010602086975095943},
        SampleFile{"biologic_mpt/HZB_Echem_2_1_C-1.ITO.hy.mpt", "EC-Lab text", 4, 2379, 0.25310114,
                   -2.019588137045503E-06, 0.25297508, -1.969126462936401E-04, 0.05},
        SampleFile{"biologic_mpt/cv.issue_149.mpt", "EC-Lab text", 3, 5930, 1.8022840E-04,
                   4.242266004439443E-07, 7.9925772E-04, 1.916988549055532E-07, 0.05},
        SampleFile{"biologic_mpt/cva.issue_202.mpt", "EC-Lab text", 1, 455, 2.8663592,
                   2.204511692980304E-07, -1.8758402, 2.501073511819982E-03, 50},
        SampleFile{"biologic_mpt/lsv.mpt", "EC-Lab text", 1, 1186, -0.24618463,
                   -6.556889057159424E-03, -4.0008063, -0.1195750350952148, 0.02},
        SampleFile{"gamry_dta/20240321_C_GM0016_HL03_E01_CV50.DTA", "Gamry DTA", 5, 1121, 0.158214,
                   7.01007E-12, 0.160214, -1.44996E-10, 0.0499999},
        SampleFile{"gamry_dta/CV.DTA", "Gamry DTA", 2, 1001, 7.30407E-05, -2.63858E-04, 7.51261E-05,
                   9.75156E-04, 0.0999998},
        // The ring's table comes first; the disc's two tables are the curves.
        SampleFile{"gamry_dta/CV__#3.DTA", "Gamry DTA", 2, 1001, -8.16800E-05, -2.28137E-08,
                   -7.20909E-05, -4.88288E-07, 0.0999998},
        SampleFile{"gamry_dta/LSV.DTA", "Gamry DTA", 1, 251, 3.79184E-04, -2.56289E-04, 0.500404,
                   2.19302E-03, 0.0999998},
        SampleFile{"palmsens_csv/PS241105-13_1.csv", "PalmSens CSV", 1, 1002, -4.99997997283936,
                   -500.227935791016e-6, 5.00458908081055, 500.573638916016e-6, kNone},
        SampleFile{"palmsens_csv/PS241105-3_1.csv", "PalmSens CSV", 5, 800, 0.249961853027344,
                   7.15255737304688E-12, 0.255040168762207, 1.19209289550781E-12, kNone},
        SampleFile{"palmsens_csv/sample.csv", "PalmSens CSV", 8, 2356, -0.50017, -1.959991e-6,
                   -0.50017, -2.143302e-6, kNone},
        SampleFile{"palmsens_pssession/05_N2_LSV_10mV_1600rpm.pssession", "PalmSens session", 1,
                   121, -0.0999612808227539, -625e-6, 1.0993404388427734, 12.806224822998047e-6,
                   0.01},
        SampleFile{"palmsens_pssession/CV example.pssession", "PalmSens session", 3, 1309,
                   -0.399962, -5.45671e-6, -0.399962, -8.72973e-6, 0.1},
        SampleFile{"palmsens_pssession/DPV example.pssession", "PalmSens session", 1, 201, -1,
                   7.875e-6, 0, 8.775e-6, kNone},
        SampleFile{"palmsens_pssession/PSDiffPulse.pssession", "PalmSens session", 1, 201, -0.5,
                   0.000234375e-6, 0.5, 0.000399375e-6, 0.025}),
    NameFrom<&SampleFile::path>());

// What the headers hold beyond the scan rate: the step, the area and the programmed
// potentials, in V and cm2, and the turns of the sweeps.
TEST(InstrumentSettingsTest, HeadersAndSweepsFillTheExperiment) {
  if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  auto settings = [](const char* path) {
    return ReadMeasurementFile((kInstruments / path).string()).curves.front().settings;
  };
  // Scan limits set against the reference, the initial potential against the open circuit
  // of 0.1580925 V; STEPSIZE is in mV.
  InstrumentSettings gamry = settings("gamry_dta/20240321_C_GM0016_HL03_E01_CV50.DTA");
  EXPECT_DOUBLE_EQ(*gamry.potentialStep, 0.01);
  EXPECT_DOUBLE_EQ(*gamry.area, 1);
  EXPECT_DOUBLE_EQ(*gamry.startPotential, 0.1580925);
  EXPECT_EQ(gamry.switchingPotentials, (std::vector<double>{-0.6, 0.8}));
  // Ei is set against the open circuit, which the file does not give; "0,196 cm²" in Latin-1.
  InstrumentSettings eclab = settings("biologic_mpt/cv.issue_149.mpt");
  EXPECT_FALSE(eclab.startPotential.has_value());
  EXPECT_EQ(eclab.switchingPotentials, (std::vector<double>{0.5, -0.5}));
  EXPECT_DOUBLE_EQ(*eclab.area, 0.196);
  // The turns of the first curve, which set the Instrument window's scan list: none for a
  // linear sweep (lsv.mpt's second point lies 0.18 V above its first), one for a cycle.
  const std::pair<const char*, int> files[] = {{"biologic_mpt/lsv.mpt", 0},
                                               {"chi/CV_microelectrode.csv", 1}};
  for (const auto& [path, turns] : files) {
    ImportedFile file = ReadMeasurementFile((kInstruments / path).string());
    EXPECT_EQ(PotentialTurns(file.curves.front().potential), turns) << path;
  }
}

}  // namespace
}  // namespace qalto
