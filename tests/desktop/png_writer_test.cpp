#include "desktop/png_writer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <filesystem>

#include "model/model.h"
#include "plot/plotter.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// Pixels darker than mid-grey inside the rectangle.
int DarkPixels(const QImage& image, int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x)
      count += qGray(image.pixel(x, y)) < 128;
  }
  return count;
}

TEST(PngWriter, PaintsThePlotBlackOnWhiteAtTheAskedSize) {
  Model model;
  model.LineStyles(1) = 3;  // a connected line
  RecordingSurface surface;
  RecordingPlatform platform;
  PlotContext context{model, PlotOptions{"current I", true}, surface, platform};
  model.FirstPoint = 1;
  model.LastPoint = 61;
  model.CurveCount = 1;
  for (int j = 1; j <= 61; ++j) {
    double x = 0.3 - 0.01 * (j - 1);
    model.PotentialX(j) = x;
    model.CurrentY(j, 1) = 2.3e-6 + 6.4e-6 * (0.3 - x) / 0.6;
  }
  PlotCurves(context, 1, 61, model.PotentialX, model.CurrentY, model.LineStyles);
  ASSERT_TRUE(platform.messages.empty());

  std::filesystem::path file = std::filesystem::temp_directory_path() / "qalto_png_test.png";
  ASSERT_TRUE(WritePng(surface, file.string(), 640, 480));
  QImage image(QString::fromStdString(file.string()));
  std::filesystem::remove(file);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 640);
  EXPECT_EQ(image.height(), 480);

  // White corners, a frame edge at a tenth of the x range beside the window edge (x = 0.3 V is
  // at the left, 0.06 of 0.72 V from it), the title text at the top left.
  EXPECT_EQ(image.pixelColor(637, 2), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(2, 477), QColor(Qt::white));
  int frameLeft = static_cast<int>(640 * 0.06 / 0.72 + 0.5);
  EXPECT_GT(DarkPixels(image, frameLeft - 1, 100, frameLeft + 2, 300), 150);
  EXPECT_GT(DarkPixels(image, 0, 0, 120, 16), 20);  // "I /A  1E-6"
  int dark = DarkPixels(image, 0, 0, 640, 480);
  EXPECT_GT(dark, 2000);
  EXPECT_LT(dark, 640 * 480 / 10);
}

TEST(PngWriter, RefusesWhatCannotBeWritten) {
  RecordingSurface surface;
  EXPECT_FALSE(WritePng(surface, "/nonexistent-folder/plot.png", 100, 100));
  EXPECT_FALSE(WritePng(surface, "plot.png", 0, 100));
}

}  // namespace
}  // namespace qalto
