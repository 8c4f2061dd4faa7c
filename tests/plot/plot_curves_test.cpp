#include <cmath>

#include "plot/plot_fixture.h"

namespace qalto {
namespace {

class PlotCurvesTest : public PlotFixture {
 protected:
  double XRange() const { return model.PlotXMax - model.PlotXMin; }

  // The x labels: printed at the bottom edge of the frame, inside the x range.
  std::vector<std::string> XLabels() const {
    std::vector<std::string> labels;
    for (const DisplayItem* item : ItemsOf(ItemKind::kText)) {
      if (item->y1 == model.PlotYMin && item->x1 >= model.PlotXMin - 1e-12 &&
          item->x1 <= model.PlotXMax + 1e-12) {
        labels.push_back(item->text);
      }
    }
    return labels;
  }

  // Lines with both ends at x, from y1 to y2 (in either order).
  int VerticalLines(double x, double y1, double y2) const {
    int count = 0;
    for (const DisplayItem* item : ItemsOf(ItemKind::kLine)) {
      bool atX = item->x1 == x && item->x2 == x;
      bool spans = (item->y1 == y1 && item->y2 == y2) || (item->y1 == y2 && item->y2 == y1);
      count += atX && spans;
    }
    return count;
  }
};

TEST_F(PlotCurvesTest, AutomaticScalesRoundTheCurrentsOutwardToTheTickUnit) {
  FillCurves(61, 0.3, -0.3, 1, [](int, double x) { return 2.3e-6 + 6.4e-6 * (0.3 - x) / 0.6; });
  Plot();

  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(surface.Shown());
  EXPECT_DOUBLE_EQ(model.PlotXMin, -0.3);
  EXPECT_DOUBLE_EQ(model.PlotXMax, 0.3);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 9e-6);
  EXPECT_DOUBLE_EQ(model.PlotYMin, -1e-6);

  // The title names the quantity and the power of ten the labels count in, at the top left of
  // a window with a tenth of the x range beside the frame, 1.2 units above and 1.5 below it.
  const DisplayItem* title = FindText("I /A  1E-6");
  ASSERT_NE(title, nullptr);
  EXPECT_DOUBLE_EQ(title->scale.left, -0.36);
  EXPECT_DOUBLE_EQ(title->scale.right, 0.36);
  EXPECT_DOUBLE_EQ(title->scale.top, 9e-6 + 1.2e-6);
  EXPECT_DOUBLE_EQ(title->scale.bottom, -1e-6 - 1.5e-6);
  EXPECT_EQ(title->x1, title->scale.left);
  EXPECT_EQ(title->y1, title->scale.top);

  // x decreases to the right (the default direction): the y labels stand beside PlotXMax.
  EXPECT_EQ(TextsAtX(model.PlotXMax + 0.04 * XRange()),
            (std::vector<std::string>{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0", "-1"}));

  // A tick every 0.1 V from the lowest potential; the printed values follow the accumulated
  // tick position, whose last step may pass 0.3 V by a rounding error.
  std::vector<std::string> xLabels = XLabels();
  ASSERT_GE(xLabels.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(xLabels.begin(), xLabels.begin() + 6),
            (std::vector<std::string>{"-0.3", "-0.2", "-0.1", "0.", "0.1", "0.2"}));

  const DisplayItem* xTitle = FindText("E /V");
  ASSERT_NE(xTitle, nullptr);
  EXPECT_DOUBLE_EQ(xTitle->x1, 0.0);
  EXPECT_DOUBLE_EQ(xTitle->y1, -2e-6);

  // The other direction puts the same labels, bottom to top, beside PlotXMin.
  options.CheckXdir.Click();
  Plot();
  EXPECT_EQ(TextsAtX(model.PlotXMin - 0.04 * XRange()),
            (std::vector<std::string>{"-1", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(PlotCurvesTest, NegativeCurrentsKeepZeroInsideTheRange) {
  FillCurves(21, -0.2, 0.2, 1, [](int, double x) { return -1e-5 - 3.2e-5 * (x + 0.2) / 0.4; });
  Plot();
  EXPECT_DOUBLE_EQ(model.PlotYMin, -5e-5);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 1e-5);
  EXPECT_NE(FindText("I /A  1E-5"), nullptr);
}

TEST_F(PlotCurvesTest, AllCurrentsZeroIsNoData) {
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 0.0; });
  surface.SetPoint(1, 1);  // an earlier drawing
  Plot();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error: No data!"});
  EXPECT_TRUE(surface.Shown());
  EXPECT_TRUE(surface.Items().empty());
}

TEST_F(PlotCurvesTest, ASinglePointIsNoData) {
  FillCurves(1, 0.1, 0.1, 1, [](int, double) { return 1e-6; });
  Plot();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error: No data!"});
}

TEST_F(PlotCurvesTest, ARangeOf40mVHasNoTicksAndEndsAfterTheCurves) {
  FillCurves(41, 0.0, 0.04, 1, [](int, double x) { return 1e-6 + 1e-5 * x; });
  Plot();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 41u);  // curve 1 in dots
  EXPECT_EQ(ItemsOf(ItemKind::kRectangle).size(), 1u);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"I /A  1E-6", "E /V"}));
  ASSERT_EQ(ItemsOf(ItemKind::kLine).size(), 1u);  // only the dashed zero line
  EXPECT_EQ(ItemsOf(ItemKind::kLine)[0]->style, LineStyle::kDashed);
  EXPECT_EQ(surface.Items().back().kind, ItemKind::kPoint);
}

TEST_F(PlotCurvesTest, TheXDirectionChoosesWhichEdgeCarriesTheYAxis) {
  FillCurves(21, -0.2, 0.2, 1, [](int, double x) { return 1.5e-5 + 5e-5 * x; });
  Plot();  // CheckXdir is checked at start: x decreases from left to right
  const std::vector<DisplayItem>& items = surface.Items();
  const DisplayItem* frame = ItemsOf(ItemKind::kRectangle).at(0);
  EXPECT_GT(frame->scale.left, frame->scale.right);
  EXPECT_DOUBLE_EQ(frame->scale.left, 0.2 + 0.04);
  // The title and the zero line were drawn before the turn and keep the first system.
  EXPECT_LT(FindText("I /A  1E-5")->scale.left, FindText("I /A  1E-5")->scale.right);
  EXPECT_EQ(items.at(1).style, LineStyle::kDashed);
  EXPECT_LT(items.at(1).scale.left, items.at(1).scale.right);
  // Y ticks point inward from the PlotXMax edge.
  double tick = 0.4 * 0.01;
  int ticksAtMax = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine)) {
    ticksAtMax += line->x1 == 0.2 && std::abs(line->x2 - (0.2 - tick)) < 1e-15;
  }
  EXPECT_EQ(ticksAtMax, 5);  // -1e-5 .. 3e-5 in steps of 1e-5
  EXPECT_EQ(TextsAtX(0.2 + 0.04 * 0.4), (std::vector<std::string>{"3", "2", "1", "0", "-1"}));

  options.CheckXdir.Click();
  Plot();
  frame = ItemsOf(ItemKind::kRectangle).at(0);
  EXPECT_LT(frame->scale.left, frame->scale.right);
  int ticksAtMin = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine)) {
    ticksAtMin += line->x1 == -0.2 && std::abs(line->x2 - (-0.2 + tick)) < 1e-15;
  }
  EXPECT_EQ(ticksAtMin, 5);
}

TEST_F(PlotCurvesTest, ManualRangesAreUsedExactlyAsTyped) {
  FillCurves(21, -0.3, 0.3, 1, [](int, double x) { return 5e-6 + 1e-5 * x; });
  options.Xauto.Click();
  options.Yauto.Click();
  options.CheckXdir.Click();
  options.XminText.SetText("-0.5");
  options.XmaxText.SetText("0.4");
  options.YminText.SetText("-1e-3");
  options.YmaxText.SetText("3e-3");
  Plot();
  EXPECT_EQ(model.PlotXMin, -0.5);
  EXPECT_EQ(model.PlotXMax, 0.4);
  EXPECT_EQ(model.PlotYMin, -1e-3);
  EXPECT_EQ(model.PlotYMax, 3e-3);
  // The unit still comes from the larger magnitude of the limits.
  EXPECT_NE(FindText("I /A  1E-3"), nullptr);
  EXPECT_EQ(TextsAtX(-0.5 - 0.04 * 0.9), (std::vector<std::string>{"-1", "0", "1", "2", "3"}));
  EXPECT_EQ(XLabels(), (std::vector<std::string>{"-0.5", "-0.4", "-0.3", "-0.2", "-0.1", "0.",
                                                 "0.1", "0.2", "0.3", "0.4"}));

  // A larger lower limit sets the unit by its magnitude.
  options.YminText.SetText("-2e-4");
  options.YmaxText.SetText("5e-5");
  Plot();
  EXPECT_NE(FindText("I /A  1E-4"), nullptr);
}

TEST_F(PlotCurvesTest, CurvesWithoutAStyleAreSkippedAndLaterOnesDrawn) {
  // Curves 6 and 7 have no style on the options form: their style value stays 0.
  FillCurves(11, -0.1, 0.1, 7, [](int k, double) { return 1e-6 * k; });
  Plot();
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 5u * 11u);

  // With a style table of its own, an empty first style skips curve 1 but draws curve 2.
  Table1<int> styles(kMaxCurves + 1);
  styles(2) = 3;
  model.CurveCount = 2;
  PlotCurves(context, 1, 11, model.PotentialX, model.CurrentY, styles);
  auto points = ItemsOf(ItemKind::kPoint);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0]->y1, 2e-6);
  int segments = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine)) {
    EXPECT_NE(line->y1, 1e-6);  // nothing of curve 1
    segments += line->y1 == 2e-6 && line->y2 == 2e-6;
  }
  EXPECT_EQ(segments, 10);
}

TEST_F(PlotCurvesTest, ManualZeroLowerLimitWithReversedXDrawsNoYTicksOrGrid) {
  FillCurves(21, -0.3, 0.3, 1, [](int, double x) { return 5e-6 + 1e-5 * x; });
  options.Yauto.Click();
  options.YminText.SetText("0");
  options.YmaxText.SetText("1e-5");
  options.CheckGrid.Click();
  Plot();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 21u);
  EXPECT_FALSE(XLabels().empty());
  EXPECT_TRUE(TextsAtX(model.PlotXMax + 0.04 * XRange()).empty());
  EXPECT_EQ(VerticalLines(-0.3, 0.0, 1e-5), 0);  // no grid line
  EXPECT_EQ(surface.Items().back().kind, ItemKind::kText);
  EXPECT_EQ(surface.Items().back().y1, 0.0);  // the last x label
}

TEST_F(PlotCurvesTest, DrawsEachLineStyleTheZeroLineAndTheGrid) {
  FillCurves(11, -0.25, 0.25, 3, [](int k, double x) { return 1e-6 * k * (1 + 2 * x) - 1e-6; });
  options.linestyle2(1).Click();
  options.linestyle3(2).Click();
  options.CheckGrid.Click();
  Plot();
  ASSERT_TRUE(platform.messages.empty());
  double xRange = XRange();
  double yRange = model.PlotYMax - model.PlotYMin;

  // Curve 1 in dots, curve 2 in squares of 1 % of each range centred on the points, curve 3 as
  // one point followed by ten connected segments.
  auto points = ItemsOf(ItemKind::kPoint);
  ASSERT_EQ(points.size(), 12u);
  auto rectangles = ItemsOf(ItemKind::kRectangle);
  ASSERT_EQ(rectangles.size(), 12u);  // the frame and 11 squares
  const DisplayItem* square = rectangles[1];
  EXPECT_NEAR((square->x1 + square->x2) / 2, model.PotentialX(1), 1e-15);
  EXPECT_NEAR((square->y1 + square->y2) / 2, model.CurrentY(1, 2), 1e-21);
  EXPECT_NEAR(square->x2 - square->x1, 0.01 * xRange, 1e-15);
  EXPECT_NEAR(square->y2 - square->y1, 0.01 * yRange, 1e-21);
  EXPECT_EQ(points[11]->x1, model.PotentialX(1));
  EXPECT_EQ(points[11]->y1, model.CurrentY(1, 3));

  // The range spans zero: a dashed zero line across the frame.
  int dashed = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine)) {
    if (line->style == LineStyle::kDashed) {
      ++dashed;
      EXPECT_EQ(line->y1, 0.0);
      EXPECT_EQ(line->x1, model.PlotXMin);
      EXPECT_EQ(line->x2, model.PlotXMax);
    }
  }
  EXPECT_EQ(dashed, 1);

  // Grid: solid lines across the whole frame at the x ticks and at the y ticks.
  int vertical = 0;
  int horizontal = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine)) {
    if (line->style != LineStyle::kSolid) continue;
    vertical += line->x1 == line->x2 && line->y1 == model.PlotYMin && line->y2 == model.PlotYMax;
    horizontal += line->y1 == line->y2 && line->x1 == model.PlotXMin && line->x2 == model.PlotXMax;
  }
  EXPECT_EQ(vertical, 5);    // -0.25 .. 0.15 V every 0.1 V, short of the right edge
  EXPECT_EQ(horizontal, 5);  // -1e-6 .. 3e-6 every 1e-6, short of the top at 4e-6
}

TEST_F(PlotCurvesTest, RunTimeErrorsEndThePlotQuietly) {
  // An x range too wide for the tick count overflows after the curves are drawn.
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 1e-6; });
  options.Xauto.Click();
  options.XminText.SetText("-1e4");
  options.XmaxText.SetText("1e4");
  Plot();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 11u);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"I /A  1E-6", "E /V"}));

  // More curves than the store holds fail before anything is touched.
  model.CurveCount = kMaxCurves + 1;
  model.PlotYMax = 123;
  Plot();
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 11u);
  EXPECT_EQ(model.PlotYMax, 123);

  // So do points beyond the tables.
  model.CurveCount = 1;
  PlotCurves(context, 1, kMaxPoints + 1, model.PotentialX, model.CurrentY, model.LineStyles);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 11u);
}

TEST_F(PlotCurvesTest, TypedLimitsFarBeyondTheTickUnitEndThePlotInsteadOfFloodingIt) {
  // With |y| >= 1e7 no unit fits and a stays 1e6: a billion y ticks. The x ticks are drawn, then
  // the plot ends.
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 1e-6; });
  options.Yauto.Click();
  options.YminText.SetText("-1e15");
  options.YmaxText.SetText("1e6");
  Plot();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_NE(FindText("I /A  1E6"), nullptr);
  EXPECT_EQ(XLabels().size(), 3u);
  EXPECT_LT(surface.Items().size(), 50u);
}

TEST_F(PlotCurvesTest, TheYTitleFollowsTheChosenQuantity) {
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 2e-3; });
  options.ComboY.SelectText("surface concentration C");
  Plot();
  EXPECT_NE(FindText("C /M  1E-3"), nullptr);

  options.ComboY.SetListIndex(-1);  // nothing chosen: neither title nor unit
  Plot();
  EXPECT_EQ(Texts().front(), "E /V");
}

}  // namespace
}  // namespace qalto
