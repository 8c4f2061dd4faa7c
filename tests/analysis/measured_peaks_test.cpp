// Find Peak on real voltammograms read from the shared folder (skipped without it): both peaks
// of every cycle once each, measured from the foot of their waves, and none on the plateau of a
// microelectrode's steady wave.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/peak_finding.h"
#include "app/app_fixture.h"

namespace qalto {
namespace {

const std::filesystem::path kInstruments = QALTO_INSTRUMENTS_DIR;
const char* const kGlassyCarbon =
    "chi/01 GC WE Pt RE Pt CE 10 mM ferricyanide in 100 mM KCl 20 mV scan rate.csv";

class MeasuredPeaksTest : public AppTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kInstruments)) GTEST_SKIP() << "no " << kInstruments;
  }
  void Import(const char* file, const char* cycle) {
    platform.QueueDialogAnswer((kInstruments / file).string());
    app.mnuImport_Click();
    if (*cycle) {
      ASSERT_TRUE(app.Import().ComboCycle.SelectText(cycle));
    }
  }
  PeakReport Peaks() { return FindPeaks(model, model.FirstPoint + 2, model.LastPoint - 2); }
};

TEST_F(MeasuredPeaksTest, GlassyCarbonCycleHasItsTwoPeaksOnce) {
  // 10 mM ferricyanide: +46.5 uA at 0.088 V on the way up, -64 uA at -0.048 V on the way down
  // (anodic positive in the file; the store holds them cathodic positive).
  Import(kGlassyCarbon, "cycle 1");
  PeakReport report = Peaks();
  ASSERT_EQ(report.curves.size(), 1u);
  const std::vector<FoundPeak>& peaks = report.curves[0].peaks;
  ASSERT_EQ(peaks.size(), 2u);
  EXPECT_DOUBLE_EQ(peaks[0].potential, 0.088);
  EXPECT_DOUBLE_EQ(peaks[0].current, -4.654e-5);
  EXPECT_DOUBLE_EQ(peaks[1].potential, -0.048);
  EXPECT_DOUBLE_EQ(peaks[1].current, 6.426e-5);
  // From the foot of each wave the anodic peak stands higher than from zero (it rises from the
  // cathodic current left by the quiet time at -0.5 V), the cathodic one lower (it rises from
  // the anodic tail); a quasi-reversible wave is 60 to 120 mV wide at half height.
  EXPECT_LT(peaks[0].Height(), peaks[0].current);
  EXPECT_GT(peaks[1].Height(), 0);
  EXPECT_LT(peaks[1].Height(), peaks[1].current);
  for (const FoundPeak& p : peaks) {
    EXPECT_GT(std::fabs(p.halfWidth), 0.04) << p.potential;
    EXPECT_LT(std::fabs(p.halfWidth), 0.12) << p.potential;
  }
  EXPECT_LT(peaks[0].halfWidth, 0);  // before the peak on the way up
  EXPECT_GT(peaks[1].halfWidth, 0);
}

TEST_F(MeasuredPeaksTest, WholeMeasurementHasTwoPeaksPerCycle) {
  Import(kGlassyCarbon, "whole measurement");
  PeakReport report = Peaks();
  const std::vector<FoundPeak>& peaks = report.curves[0].peaks;
  ASSERT_EQ(peaks.size(), 6u);
  for (size_t j = 0; j < peaks.size(); ++j)
    EXPECT_EQ(peaks[j].current < 0, j % 2 == 0) << j;
}

TEST_F(MeasuredPeaksTest, BroadPeakOfAFinelySampledScanIsFoundOncePerSweep) {
  // 0.13 mV steps, currents in steps of 3 pA: the broad top near 0.36 V carries many small
  // tops of its own, which are one peak on the way up and one on the way back (a jump of the
  // current at 0.513 V is a peak of its own).
  Import("autolab_nova/hermann_2021_effect_138279_f5a_red.csv", "scan 1");
  PeakReport report = Peaks();
  int broad = 0;
  for (const FoundPeak& p : report.curves[0].peaks)
    if (p.potential > 0.3 && p.potential < 0.42) ++broad;
  EXPECT_EQ(broad, 2);
}

TEST_F(MeasuredPeaksTest, SteadyWaveHasNoPeak) {
  Import("chi/CV_microelectrode.csv", "");
  PeakReport report = Peaks();
  EXPECT_EQ(report.curves[0].peaks.size(), 0u);
}

}  // namespace
}  // namespace qalto
