#include "drawing/recording_surface.h"

#include <gtest/gtest.h>

#include "drawing/picture_style.h"

namespace qalto {
namespace {

TEST(RecordingSurface, KeepsEachItemWithTheCoordinateSystemItWasDrawnIn) {
  RecordingSurface surface;
  int notices = 0;
  surface.observer = [&] { ++notices; };
  surface.Show();
  surface.SetScale(-1, 10, 1, -10);
  surface.SetPoint(0.5, 2);
  surface.DrawLineTo(0.7, 3);
  surface.SetScale(1, 10, -1, -10);  // x now runs backwards
  surface.DrawRectangleBySize(0.1, 0.2, 0.3, 0.4);
  surface.SetPosition(0.9, 9);
  surface.Print("I /A  1E-6");
  const std::vector<DisplayItem>& items = surface.Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(std::tuple(items[1].x1, items[1].y1, items[1].x2), std::tuple(0.5, 2.0, 0.7));
  EXPECT_EQ(items[1].scale, (CoordinateSystem{-1, 10, 1, -10}));
  EXPECT_DOUBLE_EQ(items[2].x2, 0.4);  // from the corner and the size
  EXPECT_DOUBLE_EQ(items[2].y2, 0.6);
  EXPECT_EQ(items[3].scale, (CoordinateSystem{1, 10, -1, -10}));
  EXPECT_EQ(std::tuple(items[3].text, items[3].x1, items[3].y1),
            std::tuple("I /A  1E-6", 0.9, 9.0));
  // A print moves to the start of the next text line; clearing keeps the coordinate system.
  EXPECT_EQ(surface.CurrentX(), 1);
  EXPECT_DOUBLE_EQ(surface.CurrentY(), 9 - 20 / kTextLinesPerHeight);
  surface.Clear();
  EXPECT_TRUE(surface.Items().empty() && surface.Scale() == (CoordinateSystem{1, 10, -1, -10}));
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
