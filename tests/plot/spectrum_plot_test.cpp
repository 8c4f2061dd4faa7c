// The plot of a spectrum: the Nyquist frame spans as many ohms across as up, both axes hold
// zero and the semicircle's top; the Bode frames run over whole decades of the frequency.

#include "plot/spectrum_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "common/constants.h"
#include "drawing/recording_surface.h"

namespace qalto {
namespace {

// A resistor of 100 ohm parallel to 10 uF: a semicircle of 100 ohm, top 50 ohm at 159 Hz.
Model ParallelCircuit() {
  Model model;
  model.SpectrumFrequencies = 25;
  model.CurveCount = 1;
  model.LineStyles(1) = 3;
  for (int i = 1; i <= 25; ++i) {
    const double f = std::pow(10.0, 5 - 0.25 * (i - 1));  // 100 kHz to 0.1 Hz
    const std::complex<double> z = 1.0 / (1.0 / 100.0 + std::complex<double>(0, kTwoPi * f * 1e-5));
    model.PotentialX(i) = model.PotentialX(25 + i) = f;
    model.CurrentY(i, 1) = z.real();
    model.CurrentY(25 + i, 1) = z.imag();
  }
  return model;
}

TEST(SpectrumPlot, NyquistOnEqualRangesAndBodeOverWholeDecades) {
  Model model = ParallelCircuit();
  RecordingSurface surface;
  PlotContext context{model, {}, surface};
  ASSERT_FALSE(PlotSpectra(context).has_value());
  std::vector<DisplayItem> frames;
  for (const DisplayItem& item : surface.Items())
    if (item.kind == ItemKind::kRectangle) frames.push_back(item);
  ASSERT_EQ(frames.size(), 3u);
  const DisplayItem& nyquist = frames[0];
  EXPECT_EQ(nyquist.x1, 0.0);
  EXPECT_EQ(nyquist.y1, 0.0);
  EXPECT_EQ(nyquist.x2 - nyquist.x1, nyquist.y2 - nyquist.y1);
  EXPECT_GE(nyquist.x2, 100.0 - 1e-9);
  EXPECT_LE(nyquist.x2, 120.0);
  for (size_t k : {1u, 2u}) {
    EXPECT_EQ(frames[k].x1, -1.0);  // log f from -1 (0.1 Hz) to 5 (100 kHz)
    EXPECT_EQ(frames[k].x2, 5.0);
  }
  // -phase from 0 to 90 degrees: the phase frame holds 0 and 45 at the semicircle's top
  EXPECT_LE(frames[2].y1, 0.0);
  EXPECT_GE(frames[2].y2, 85.0);
  bool titled = false;
  for (const DisplayItem& item : surface.Items())
    titled = titled || item.text == "-Z'' /Ohm";
  EXPECT_TRUE(titled);
}

TEST(SpectrumPlot, NoFiniteValueIsNoData) {
  Model model = ParallelCircuit();
  for (int i = 1; i <= 50; ++i)
    model.CurrentY(i, 1) = std::nan("");
  RecordingSurface surface;
  PlotContext context{model, {}, surface};
  const Outcome failed = PlotSpectra(context);
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(failed->message, "Error: No data!");
}

}  // namespace
}  // namespace qalto
