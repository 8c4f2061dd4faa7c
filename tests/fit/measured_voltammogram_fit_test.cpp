// Real one-electron voltammograms of four instruments, imported and fitted for E0, ks, alpha,
// Ru, Cd and a baseline the way the manual's "To fit" walks through it: the fit converges, no
// value the data fix ends on a bound (one they cannot fix is flagged), the residual is at most
// 5 % of the peak, and E0 lies within 10 mV of the middle of the measured peaks (of the half-wave
// potential of a steady wave). The files are read from the shared folder and the test is skipped
// without it.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "app/app_fixture.h"
#include "common/test_names.h"
#include "fit/fit_parameters.h"

namespace qalto {
namespace {

const std::filesystem::path kInstruments = QALTO_INSTRUMENTS_DIR;

struct MeasuredCase {
  const char* name;
  const char* file;   // below the instruments folder
  const char* cycle;  // the Import window's choice; empty for a file of one curve
  const char* cell;   // Instrument lines: electrode, area or radius, first Ru and Cd
  const char* c1;     // concentrations, M, and whether each is fitted (as the scale)
  const char* c2;
  bool fitC1, fitC2;
  const char* e0;  // first guesses of E0 (V) and ks (cm/s)
  const char* ks;
  int first, last;  // the fit window's points; 0: all
  bool steadyWave;  // a microelectrode's sigmoid: no peaks, E1/2 instead
};

// The manual's walk-through: the analytical A + e = B, the import, the cell with its baseline
// fitted, the chemistry with pre-equilibration off (the quiet time holds the start potential for
// the time the instrument did), an Auto Fit of the chemistry and the baseline, then one with Ru
// and Cd added.
std::string WalkThrough(const MeasuredCase& c, const std::string& path) {
  std::string script =
      "menu mnuMechamism\ncheck FormMech.CheckDigital off\nclick FormMech.mech(1)\n"
      "click FormMech.Command1\ndialog \"" +
      path + "\"\nmenu mnuImport\n";
  if (*c.cycle) script += std::string("select FormImport.ComboCycle \"") + c.cycle + "\"\n";
  script += std::string("menu mnuInstrument\n") + c.cell +
            "check FormIns.CheckFitted(95) on\ncheck FormIns.CheckFitted(96) on\n"
            "click FormIns.cmdOK\nmenu mnuExperimental\ncheck FormExpr.CheckPreEqu off\n"
            "set FormExpr.C(1) " +
            c.c1 + "\nset FormExpr.C(2) " + c.c2 +
            "\nset FormExpr.D(1) 7.2e-6\nset FormExpr.D(2) 7.2e-6\nset FormExpr.Eze(1) " + c.e0 +
            "\nset FormExpr.ks(1) " + c.ks + "\nset FormExpr.alph(1) 0.5\n";
  for (int s : {1, 2}) {
    const std::string n = std::to_string(s);
    script += (s == 1 ? c.fitC1 : c.fitC2)
                  ? "check FormExpr.CheckFitted(" + n + ") on\nset FormExpr.TextCmin(" + n +
                        ") 1e-5\nset FormExpr.TextCmax(" + n + ") 0.1\n"
                  : "check FormExpr.CheckFitted(" + n + ") off\n";
  }
  script +=
      "check FormExpr.CheckFitted(11) on\nset FormExpr.TextKsmin(1) 1e-6\n"
      "set FormExpr.TextKsmax(1) 1\ncheck FormExpr.CheckFitted(21) on\n"
      "set FormExpr.TextAlphaMin(1) 0.1\nset FormExpr.TextAlphamax(1) 0.9\n"
      "check FormExpr.CheckFitted(31) on\nset FormExpr.TextEzeromin(1) -0.3\n"
      "set FormExpr.TextEzeromax(1) 0.5\n";
  if (c.first > 0) {
    script += "set FormExpr.TextFitFirst " + std::to_string(c.first) +
              "\nset FormExpr.TextFitLast " + std::to_string(c.last) + "\n";
  }
  return script +
         "menu mnuAutoFit\nmenu mnuInstrument\ncheck FormIns.CheckFitted(91) on\n"
         "check FormIns.CheckFitted(92) on\nclick FormIns.cmdOK\nmenu mnuAutoFit\n";
}

const MeasuredCase kCases[] = {
    // 10 mM ferricyanide at glassy carbon (3 mm: 0.0707 cm2), 20 mV/s from -0.5 V after 2 s
    // there: the first cycle.
    {"chi_glassy_carbon",
     "chi/01 GC WE Pt RE Pt CE 10 mM ferricyanide in 100 mM KCl 20 mV scan rate.csv", "cycle 1",
     "set FormIns.ARE 0.0707\nset FormIns.txtRu 20\nset FormIns.Cdl 1e-6\n", "0.01", "0", true,
     false, "0.02", "0.01", 0, 0, false},
    // Ferri- and ferrocyanide at ITO (the file's area, 0.001 cm2, is EC-Lab's unset default),
    // 50 mV/s, four cycles from the open circuit: the second cycle, after the first.
    {"eclab_ito", "biologic_mpt/HZB_Echem_2_1_C-1.ITO.hy.mpt", "whole measurement",
     "set FormIns.ARE 0.3\nset FormIns.txtRu 100\nset FormIns.Cdl 1e-6\n", "0.005", "0.005", true,
     true, "0.25", "0.01", 595, 1188, false},
    // 2.5 mM ferri- and ferrocyanide at a screen-printed carbon electrode, 0.1 V/s from -0.4 V
    // after 8 s there: the first scan.
    {"palmsens_screen_printed", "palmsens_pssession/CV example.pssession", "Scan 1",
     "set FormIns.ARE 0.126\nset FormIns.txtRu 100\nset FormIns.Cdl 1e-6\n", "0.0025", "0.0025",
     true, true, "0.13", "0.001", 0, 0, false},
    // A steady oxidation wave at a microdisc, as the hemisphere of the same steady current
    // (radius 2a / pi; a taken as 5 um, the concentration fitted as the scale): the analytical
    // disc itself is exact only for a Nernstian wave without resistance. 10 mV/s from 0 V after
    // 2 s there.
    {"chi_microdisc", "chi/CV_microelectrode.csv", "",
     "click FormIns.optElectrode(3)\nset FormIns.radius 3.18e-4\nset FormIns.txtRu 1000\n"
     "set FormIns.Cdl 1e-10\n",
     "0", "0.025", false, true, "0.4", "0.01", 0, 0, true},
};

class MeasuredFitTest : public AppTest, public ::testing::WithParamInterface<MeasuredCase> {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  }

  // Runs the case's script on a fresh program; the script's output is kept for the message of a
  // failure. The measured points the fit compared: the window's, or all of curve 1.
  void Run(const MeasuredCase& c) {
    RunScript(WalkThrough(c, (kInstruments / c.file).string()));
    first = c.first > 0 ? c.first : 1;
    last = c.first > 0 ? c.last : model.NumberOfPoints;
  }

  double LargestCurrent() const {
    double largest = 0;
    for (int i = first; i <= last; ++i)
      largest = std::max(largest, std::fabs(model.CurrentY(i, 1)));
    return largest;
  }

  // The middle of the two peak potentials (cathodic-positive: the largest and the smallest
  // current), or where a steady wave is half its plateau on the way out.
  double MidPotential(bool steadyWave) const {
    int high = first, low = first;
    for (int i = first; i <= last; ++i) {
      if (model.CurrentY(i, 1) > model.CurrentY(high, 1)) high = i;
      if (model.CurrentY(i, 1) < model.CurrentY(low, 1)) low = i;
    }
    if (!steadyWave) return (model.PotentialX(high) + model.PotentialX(low)) / 2;
    const int plateau =
        std::fabs(model.CurrentY(high, 1)) > std::fabs(model.CurrentY(low, 1)) ? high : low;
    const double foot = model.CurrentY(first, 1);
    const double half = (model.CurrentY(plateau, 1) + foot) / 2;
    for (int i = first + 1; i <= plateau; ++i) {
      if ((model.CurrentY(i, 1) - half) * (model.CurrentY(i - 1, 1) - half) <= 0)
        return model.PotentialX(i);
    }
    return model.PotentialX(plateau);
  }

  int first = 1, last = 0;  // the points compared
};

TEST_P(MeasuredFitTest, FitsToWithinFivePercentOfThePeak) {
  const MeasuredCase& c = GetParam();
  Run(c);
  const FitResult& fit = model.LastFit;
  ASSERT_TRUE(fit.valid) << out.str() << err.str() << app.Result().Text();
  EXPECT_LT(fit.flag, 0) << app.Result().Text();
  for (const FittedParameter& p : fit.parameters) {
    // A value on a bound is one the data cannot fix, and then it says so.
    if (p.atBound) {
      EXPECT_TRUE(p.Undetermined()) << p.name << "\n" << app.Result().Text();
    }
    // Its interval lies inside the range it was sought in (an undetermined one's is that range).
    if (p.determined) {
      EXPECT_GE(p.lower95, p.minimum) << p.name;
      EXPECT_LE(p.upper95, p.maximum) << p.name;
    }
  }
  const double rms = std::sqrt(fit.sumOfSquares / fit.points);
  const double peak = LargestCurrent();
  EXPECT_LE(rms, 0.05 * peak) << app.Result().Text();
  const double mid = MidPotential(c.steadyWave);
  EXPECT_NEAR(model.ChargeE0(1), mid, 0.010) << app.Result().Text();
  std::printf("[ %s ] rms %.2f %% of the peak, E0 %.4f V, middle %.4f V\n", c.name,
              100 * rms / peak, model.ChargeE0(1), mid);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, MeasuredFitTest, ::testing::ValuesIn(kCases),
                         NameFrom<&MeasuredCase::name>());

}  // namespace
}  // namespace qalto
