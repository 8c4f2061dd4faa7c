// Impedance spectra in the text of the instruments that write them. No impedance file is in the
// shared instrument corpus, so each layout is a short file written here from its format: EC-Lab's
// PEIS export with a decimal comma, Gamry's ZCURVE table with its units line, CH Instruments'
// A.C. Impedance text, and the program's own export read back.

#include "files/spectrum_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/measurement_file.h"
#include "files/read_failure_message.h"
#include "files/spectrum_export.h"

namespace qalto {
namespace {

struct Layout {
  const char* name;
  const char* text;
};

class SpectrumLayouts : public testing::TestWithParam<Layout> {};

// Every layout holds the same two frequencies: 1e5 Hz, Z = 10.5 - 0.25j ohm, and 0.1 Hz,
// Z = 120 - 95j ohm.
TEST_P(SpectrumLayouts, GiveFrequencyRealAndImaginaryWithTheImaginarySigned) {
  const ImportedFile file = ReadMeasurementText(GetParam().text, "spectrum");
  EXPECT_EQ(file.technique, "impedance");
  ASSERT_EQ(file.curves.size(), 1u);
  const ImportedCurve& c = file.curves[0];
  EXPECT_EQ(c.potential, (std::vector<double>{1e5, 0.1}));
  EXPECT_EQ(c.current, (std::vector<double>{10.5, 120}));
  EXPECT_EQ(c.imaginary, (std::vector<double>{-0.25, -95}));
}

INSTANTIATE_TEST_SUITE_P(
    Instruments, SpectrumLayouts,
    testing::Values(
        Layout{"EcLabPeis",
               "EC-Lab ASCII FILE\nNb header lines : 5\n\nPotentio Electrochemical Impedance "
               "Spectroscopy\n\nfreq/Hz\tRe(Z)/Ohm\t-Im(Z)/Ohm\t|Z|/Ohm\tPhase(Z)/deg\n"
               "1,0000000E+005\t1,0500000E+001\t2,5000000E-001\t10,503\t-1,36\n"
               "1,0000000E-001\t1,2000000E+002\t9,5000000E+001\t153,05\t-38,4\n"},
        Layout{"GamryZcurve",
               "EXPLAIN\nTAG\tEISPOT\nTITLE\tLABEL\tPotentiostatic EIS\tTest &Identifier\n"
               "VDC\tPOTEN\t1.00000E-001\tF\tDC &Voltage (V)\nZCURVE\tTABLE\n"
               "\tPt\tTime\tFreq\tZreal\tZimag\tZsig\tZmod\tZphz\n"
               "\t#\ts\tHz\tohm\tohm\tV\tohm\t\xC2\xB0\n"
               "\t0\t2\t1.00000E+005\t1.05000E+001\t-2.50000E-001\t1\t10.503\t-1.36\n"
               "\t1\t9\t1.00000E-001\t1.20000E+002\t-9.50000E+001\t1\t153.05\t-38.4\n"},
        Layout{"ChiAcImpedance",
               "A.C. Impedance\nInit E (V) = 0.1\nHigh Frequency (Hz) = 1e+5\n\n"
               "Freq/Hz, Z'/ohm, Z\"/ohm, Z/ohm, Phase/deg\n\n1.000e+5, 1.050e+1, -2.500e-1, "
               "1.050e+1, -1.4\n1.000e-1, 1.200e+2, -9.500e+1, 1.530e+2, -38.4\n"},
        Layout{"NovaSemicolons",
               "Index;Frequency (Hz);Z' (\xCE\xA9);-Z'' (\xCE\xA9);Z (\xCE\xA9);-Phase (\xC2\xB0)\n"
               "1;100000;10.5;0.25;10.503;1.36\n2;0.1;120;95;153.05;38.4\n"},
        Layout{"SlashedUnits", "Frequency/Hz,Z'/Ohm,-Z''/Ohm\n1e5,10.5,0.25\n0.1,120,95\n"},
        Layout{"OwnExport",
               "f (Hz), Z' (Ohm), Z'' (Ohm)\r\n 100000 ,     10.5 ,    -.25 \r\n .1 ,       120 , "
               "     -95 \r\n"}),
    [](const testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

TEST(SpectrumReader, VoltammogramsAreNoSpectra) {
  const std::vector<std::string_view> lines{"Potential/V, Current/A", "0.1, 1e-6", "0.2, 2e-6"};
  EXPECT_FALSE(ReadSpectrumText(lines, "cv").has_value());
  EXPECT_TRUE(ReadMeasurementText("Potential/V, Current/A\n0.1, 1e-6\n0.2, 2e-6\n", "cv")
                  .curves[0]
                  .imaginary.empty());
}

TEST(SpectrumReader, BadTablesAreRefusedAtTheirLine) {
  EXPECT_EQ(ReadFailure("freq/Hz,Re(Z)/Ohm,-Im(Z)/Ohm\n1e5,10,1\n0,12,3\n"),
            "Invalid procedure call or argument in line 3 of \"f\": expected a frequency above "
            "0 Hz, found \"0,12,3\"");
  EXPECT_EQ(ReadFailure("freq/Hz\tRe(Z)/Ohm\t-Im(Z)/Ohm\nnone\n\nat all\n"),
            "Type mismatch in line 4 of \"f\": expected the numbers of the spectrum's table, "
            "found \"at all\"");
}

TEST(SpectrumReader, ExportReadsBackToTheSameSpectrum) {
  Model model;
  model.SpectrumFrequencies = 3;
  const double f[] = {1e4, 31.6227766, 1e-3}, re[] = {50.0081, 77.86284, 3052.3602},
               im[] = {-0.0693252, -29.966843, -3004.6274};
  for (int i = 1; i <= 3; ++i) {
    model.PotentialX(i) = model.PotentialX(3 + i) = f[i - 1];
    model.CurrentY(i, 1) = re[i - 1];
    model.CurrentY(3 + i, 1) = im[i - 1];
  }
  const ImportedCurve back = ReadMeasurementText(SpectrumExportText(model, 1), "x").curves[0];
  ASSERT_EQ(back.potential.size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(back.potential[k], f[k], 1e-6 * f[k]);
    EXPECT_NEAR(back.current[k], re[k], 1e-6 * re[k]);
    EXPECT_NEAR(back.imaginary[k], im[k], 1e-6 * std::fabs(im[k]));
  }
}

}  // namespace
}  // namespace qalto
