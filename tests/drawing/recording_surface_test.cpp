#include "drawing/recording_surface.h"

#include <gtest/gtest.h>

#include "drawing/picture_style.h"

namespace qalto {
namespace {

// The plot window repaints on these notices: a cleared drawing must not stay on the screen.
TEST(RecordingSurface, TellsItsObserverWhenShownAndWhenCleared) {
  RecordingSurface surface;
  int notices = 0;
  surface.observer = [&] { ++notices; };
  surface.Show();
  surface.SetPoint(0.5, 2);
  surface.Clear();
  EXPECT_TRUE(surface.Items().empty());
  EXPECT_EQ(notices, 2);
}

TEST(PictureStyle, MapsCornersOntoThePictureAndCutsFarGeometry) {
  std::optional<PixelMap> map = PixelMapFor(CoordinateSystem{0.36, 1e-5, -0.36, -2e-6}, 720, 480);
  ASSERT_TRUE(map);
  EXPECT_DOUBLE_EQ(map->X(-0.36), 720);
  EXPECT_DOUBLE_EQ(map->Y(-2e-6), 480);
  EXPECT_FALSE(PixelMapFor(CoordinateSystem{1, 0, 1, 2}, 720, 480));
  // A line from inside to far outside is cut just beyond the edge, keeping its direction.
  std::optional<Segment> line = VisibleLine(*map, 720, 480, Segment{0, 0, -1e6, 0});
  ASSERT_TRUE(line);
  EXPECT_GT(map->X(line->x2), 720);
  EXPECT_LT(map->X(line->x2), 720 + 17);
  EXPECT_FALSE(VisibleLine(*map, 720, 480, Segment{5, 0, 6, 0}));
  EXPECT_FALSE(PointVisible(*map, 720, 480, 0, 1));
  EXPECT_TRUE(PointVisible(*map, 720, 480, 0, 1e-6));
  EXPECT_GE(PictureStyleFor(300, 200).fontPixels, 11);
  EXPECT_DOUBLE_EQ(PictureStyleFor(2400, 1800).fontPixels, 1800 / kTextLinesPerHeight);
  EXPECT_GT(PictureStyleFor(2400, 1800).lineWidth, PictureStyleFor(300, 200).lineWidth);
}

}  // namespace
}  // namespace qalto
