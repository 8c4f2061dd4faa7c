#include "plot/plot_fixture.h"

namespace qalto {
namespace {

using Texts_ = std::vector<std::string>;

class PlotCurvesTest : public PlotFixture {
 protected:
  double XRange() const { return model.PlotXMax - model.PlotXMin; }
};

TEST_F(PlotCurvesTest, AutomaticScalesRoundTheCurrentsOutwardToTheTickUnit) {
  FillCurves(61, 0.3, -0.3, 1, [](int, double x) { return 2.3e-6 + 6.4e-6 * (0.3 - x) / 0.6; });
  Plot();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_DOUBLE_EQ(model.PlotXMin, -0.3);
  EXPECT_DOUBLE_EQ(model.PlotXMax, 0.3);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 9e-6);
  EXPECT_DOUBLE_EQ(model.PlotYMin, -1e-6);

  // The title names the quantity and the power of ten the labels count in, at the top left of
  // a window with a tenth of the x range beside the frame, 1.2 units above and 1.5 below it.
  const DisplayItem* title = FindText("I /A  1E-6");
  ASSERT_NE(title, nullptr);
  EXPECT_DOUBLE_EQ(title->scale.left, -0.36);
  EXPECT_DOUBLE_EQ(title->scale.top, 9e-6 + 1.2e-6);
  EXPECT_DOUBLE_EQ(title->scale.bottom, -1e-6 - 1.5e-6);
  EXPECT_EQ(title->y1, title->scale.top);
  const DisplayItem* xTitle = FindText("E /V");
  ASSERT_NE(xTitle, nullptr);
  EXPECT_DOUBLE_EQ(xTitle->y1, -2e-6);

  // x decreasing to the right (the default): the frame is turned and the y labels stand beside
  // PlotXMax. A tick every 0.1 V from the lowest potential.
  EXPECT_GT(ItemsOf(ItemKind::kRectangle).at(0)->scale.left, 0);
  EXPECT_EQ(TextsAtX(model.PlotXMax + 0.04 * XRange()),
            (Texts_{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0", "-1"}));
  Texts_ xLabels = XLabels();
  ASSERT_GE(xLabels.size(), 6u);
  EXPECT_EQ(Texts_(xLabels.begin(), xLabels.begin() + 6),
            (Texts_{"-0.3", "-0.2", "-0.1", "0.", "0.1", "0.2"}));

  // The other direction puts the same labels, bottom to top, beside PlotXMin.
  context.options.reverseX = false;
  Plot();
  EXPECT_EQ(TextsAtX(model.PlotXMin - 0.04 * XRange()),
            (Texts_{"-1", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));

  // Negative currents keep zero inside the range.
  FillCurves(21, -0.2, 0.2, 1, [](int, double x) { return -1e-5 - 3.2e-5 * (x + 0.2) / 0.4; });
  Plot();
  EXPECT_DOUBLE_EQ(model.PlotYMin, -5e-5);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 1e-5);
  EXPECT_NE(FindText("I /A  1E-5"), nullptr);
}

TEST_F(PlotCurvesTest, NoRangeIsNoData) {
  for (int points : {11, 1}) {
    FillCurves(points, -0.1, 0.1, 1, [points](int, double) { return points == 1 ? 1e-6 : 0.0; });
    platform.messages.clear();
    surface.SetPoint(1, 1);  // an earlier drawing
    Plot();
    EXPECT_EQ(platform.messages, Texts_{"Error: No data!"}) << points;
    EXPECT_TRUE(surface.Items().empty());
  }
}

TEST_F(PlotCurvesTest, ARangeOf40mVHasNoTicksAndEndsAfterTheCurves) {
  FillCurves(41, 0.0, 0.04, 1, [](int, double x) { return 1e-6 + 1e-5 * x; });
  Plot();
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 41u);
  EXPECT_EQ(Texts(), (Texts_{"I /A  1E-6", "E /V"}));
  ASSERT_EQ(ItemsOf(ItemKind::kLine).size(), 1u);  // only the dashed zero line
  EXPECT_EQ(ItemsOf(ItemKind::kLine)[0]->style, LineStyle::kDashed);
}

TEST_F(PlotCurvesTest, TypedRangesAreUsedExactly) {
  FillCurves(21, -0.3, 0.3, 1, [](int, double x) { return 5e-6 + 1e-5 * x; });
  context.options.autoX = false;
  context.options.reverseX = false;
  model.PlotXMin = -0.5;
  model.PlotXMax = 0.4;
  TypeYRange(-1e-3, 3e-3);
  Plot();
  EXPECT_EQ(model.PlotYMin, -1e-3);
  EXPECT_EQ(model.PlotYMax, 3e-3);
  EXPECT_NE(FindText("I /A  1E-3"), nullptr);  // the unit from the larger magnitude
  EXPECT_EQ(TextsAtX(-0.5 - 0.04 * 0.9), (Texts_{"-1", "0", "1", "2", "3"}));
  EXPECT_EQ(XLabels(),
            (Texts_{"-0.5", "-0.4", "-0.3", "-0.2", "-0.1", "0.", "0.1", "0.2", "0.3", "0.4"}));
  TypeYRange(-2e-4, 5e-5);  // a larger lower limit sets the unit by its magnitude
  Plot();
  EXPECT_NE(FindText("I /A  1E-4"), nullptr);

  // A zero lower limit with x reversed: no y ticks and no grid, the x labels last.
  context.options.autoX = true;
  context.options.reverseX = true;
  model.ShowGrid = true;
  TypeYRange(0, 1e-5);
  Plot();
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 21u);
  EXPECT_TRUE(TextsAtX(model.PlotXMax + 0.04 * XRange()).empty());
  EXPECT_EQ(surface.Items().back().kind, ItemKind::kText);
  EXPECT_EQ(surface.Items().back().y1, 0.0);
}

TEST_F(PlotCurvesTest, CurvesWithoutAStyleAreSkippedAndLaterOnesDrawn) {
  FillCurves(11, -0.1, 0.1, 7, [](int k, double) { return 1e-6 * k; });
  Plot();  // curves 6 and 7 have no style
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 5u * 11u);

  Table1<int> styles(kMaxCurves + 1);
  styles(2) = 3;
  model.CurveCount = 2;
  PlotCurves(context, 1, 11, model.PotentialX, model.CurrentY, styles);
  ASSERT_EQ(ItemsOf(ItemKind::kPoint).size(), 1u);  // the start of curve 2's line
  EXPECT_EQ(ItemsOf(ItemKind::kPoint)[0]->y1, 2e-6);
  int segments = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine))
    segments += line->y1 == 2e-6 && line->y2 == 2e-6;
  EXPECT_EQ(segments, 10);
}

TEST_F(PlotCurvesTest, DrawsEachLineStyleTheZeroLineAndTheGrid) {
  FillCurves(11, -0.25, 0.25, 3, [](int k, double x) { return 1e-6 * k * (1 + 2 * x) - 1e-6; });
  model.LineStyles(2) = 2;
  model.LineStyles(3) = 3;
  model.ShowGrid = true;
  Plot();
  ASSERT_TRUE(platform.messages.empty());
  double yRange = model.PlotYMax - model.PlotYMin;
  // Curve 1 in dots, curve 2 in squares of 1 % of each range centred on the points, curve 3 as
  // one point followed by ten connected segments.
  auto points = ItemsOf(ItemKind::kPoint);
  ASSERT_EQ(points.size(), 12u);
  auto rectangles = ItemsOf(ItemKind::kRectangle);
  ASSERT_EQ(rectangles.size(), 12u);  // the frame and 11 squares
  EXPECT_NEAR((rectangles[1]->y1 + rectangles[1]->y2) / 2, model.CurrentY(1, 2), 1e-21);
  EXPECT_NEAR(rectangles[1]->x2 - rectangles[1]->x1, 0.01 * XRange(), 1e-15);
  EXPECT_NEAR(rectangles[1]->y2 - rectangles[1]->y1, 0.01 * yRange, 1e-21);
  EXPECT_EQ(points[11]->y1, model.CurrentY(1, 3));
  // One dashed zero line across the frame; solid grid lines at the x and y ticks.
  int dashed = 0, vertical = 0, horizontal = 0;
  for (const DisplayItem* line : ItemsOf(ItemKind::kLine)) {
    if (line->style == LineStyle::kDashed) {
      dashed += line->y1 == 0.0 && line->x1 == model.PlotXMin && line->x2 == model.PlotXMax;
      continue;
    }
    vertical += line->x1 == line->x2 && line->y1 == model.PlotYMin && line->y2 == model.PlotYMax;
    horizontal += line->y1 == line->y2 && line->x1 == model.PlotXMin && line->x2 == model.PlotXMax;
  }
  EXPECT_EQ(dashed, 1);
  EXPECT_EQ(vertical, 5);    // -0.25 .. 0.15 V every 0.1 V, short of the right edge
  EXPECT_EQ(horizontal, 5);  // -1e-6 .. 3e-6 every 1e-6, short of the top at 4e-6
}

TEST_F(PlotCurvesTest, RunTimeErrorsEndThePlotQuietly) {
  // An x range too wide for the tick count overflows after the curves are drawn.
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 1e-6; });
  context.options.autoX = false;
  model.PlotXMin = -1e4;
  model.PlotXMax = 1e4;
  Plot();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 11u);
  EXPECT_EQ(Texts(), (Texts_{"I /A  1E-6", "E /V"}));

  // Typed y limits far beyond the tick unit (|y| >= 1e7 leaves it at 1e6): the x ticks are
  // drawn, then the plot ends instead of drawing a billion y ticks.
  context.options.autoX = true;
  TypeYRange(-1e15, 1e6);
  Plot();
  EXPECT_NE(FindText("I /A  1E6"), nullptr);
  EXPECT_EQ(XLabels().size(), 3u);
  EXPECT_LT(surface.Items().size(), 50u);

  // More curves than the store holds, points beyond the tables, or a typed range that did not
  // fit a double fail before anything is touched.
  size_t drawn = surface.Items().size();
  model.CurveCount = kMaxCurves + 1;
  model.PlotYMax = 123;
  Plot();
  EXPECT_EQ(model.PlotYMax, 123);
  model.CurveCount = 1;
  PlotCurves(context, 1, kMaxPoints + 1, model.PotentialX, model.CurrentY, model.LineStyles);
  context.options.rangeOverflow = true;
  Plot();
  EXPECT_EQ(surface.Items().size(), drawn);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PlotCurvesTest, TheYTitleFollowsTheChosenQuantity) {
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 2e-3; });
  for (auto [quantity, title] : {std::pair{"surface concentration C", "C /M  1E-3"},
                                 {"resistance R", "R /Ohm  1E-3"},
                                 {"conductance Cond", "Cond *Ohm  1E-3"},
                                 {"", "E /V"}}) {  // nothing chosen: neither title nor unit
    context.options.quantity = quantity;
    Plot();
    EXPECT_EQ(Texts().front(), title);
  }
}

}  // namespace
}  // namespace qalto
