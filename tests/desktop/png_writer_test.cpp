#include "desktop/png_writer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "ui/recording_surface.h"

namespace qalto {
namespace {

TEST(PngWriter, PaintsBlackOnWhiteAtTheAskedSizeOrRefuses) {
  // A frame whose left edge is a tenth of the x range from the window's edge, and a caption.
  RecordingSurface surface;
  surface.SetScale(0, 1, 1, 0);
  surface.DrawRectangle(0.1, 0.9, 0.9, 0.1);
  surface.SetPosition(0, 1);
  surface.Print("I /A  1E-6");
  std::filesystem::path file = std::filesystem::temp_directory_path() / "qalto_png_test.png";
  ASSERT_TRUE(WritePng(surface, file.string(), 640, 480));
  QImage image(QString::fromStdString(file.string()));
  std::filesystem::remove(file);
  ASSERT_EQ(image.size(), QSize(640, 480));
  auto dark = [&](int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x)
        count += qGray(image.pixel(x, y)) < 128;
    }
    return count;
  };
  EXPECT_EQ(dark(600, 440, 640, 480), 0);  // white outside the frame
  EXPECT_GT(dark(63, 100, 66, 300), 150);  // the frame's left edge at x = 64
  EXPECT_EQ(dark(70, 100, 570, 300), 0);   // nothing inside
  EXPECT_GT(dark(0, 0, 120, 16), 20);      // the caption at the top left
  EXPECT_FALSE(WritePng(surface, "/nonexistent-folder/plot.png", 100, 100));
  EXPECT_FALSE(WritePng(surface, "plot.png", 0, 100));
}

}  // namespace
}  // namespace qalto
