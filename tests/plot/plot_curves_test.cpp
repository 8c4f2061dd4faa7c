#include "plot/plot_fixture.h"

namespace qalto {
namespace {

using Texts_ = std::vector<std::string>;

using PlotCurvesTest = PlotFixture;

TEST_F(PlotCurvesTest, AutomaticScalesRoundTheCurrentsOutwardToTheTickUnit) {
  FillCurves(61, 0.3, -0.3, 1, [](int, double x) { return 2.3e-6 + 6.4e-6 * (0.3 - x) / 0.6; });
  Plot();
  EXPECT_DOUBLE_EQ(model.PlotXMin, -0.3);
  EXPECT_DOUBLE_EQ(model.PlotXMax, 0.3);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 9e-6);
  EXPECT_DOUBLE_EQ(model.PlotYMin, -1e-6);
  // The title names the quantity and the power of ten the labels count in.
  EXPECT_TRUE(HasText("I /A  1E-6"));
  // x decreasing to the right (the default): the y labels stand beside PlotXMax.
  EXPECT_EQ(TextsAtX(model.PlotXMax + 0.04 * XRange()),
            (Texts_{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0", "-1"}));
  // Negative currents keep zero inside the range.
  FillCurves(21, -0.2, 0.2, 1, [](int, double x) { return -1e-5 - 3.2e-5 * (x + 0.2) / 0.4; });
  Plot();
  EXPECT_DOUBLE_EQ(model.PlotYMin, -5e-5);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 1e-5);
  EXPECT_TRUE(HasText("I /A  1E-5"));
}

TEST_F(PlotCurvesTest, NoRangeIsNoData) {
  for (int points : {11, 1}) {
    FillCurves(points, -0.1, 0.1, 1, [points](int, double) { return points == 1 ? 1e-6 : 0.0; });
    surface.SetPoint(1, 1);  // an earlier drawing
    const Outcome failed = Plot();
    ASSERT_TRUE(failed) << points;
    EXPECT_EQ(failed->message, "Error: No data!") << points;
    EXPECT_TRUE(surface.Items().empty());
  }
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
  EXPECT_TRUE(HasText("I /A  1E-3"));  // the unit from the larger magnitude
  EXPECT_EQ(TextsAtX(-0.5 - 0.04 * 0.9), (Texts_{"-1", "0", "1", "2", "3"}));
  EXPECT_EQ(XLabels(),
            (Texts_{"-0.5", "-0.4", "-0.3", "-0.2", "-0.1", "0.", "0.1", "0.2", "0.3", "0.4"}));

  // A zero lower limit with x reversed: no y ticks and no grid, the x labels last.
  context.options.autoX = true;
  context.options.reverseX = true;
  model.ShowGrid = true;
  TypeYRange(0, 1e-5);
  Plot();
  EXPECT_TRUE(TextsAtX(model.PlotXMax + 0.04 * XRange()).empty());
  EXPECT_EQ(surface.Items().back().kind, ItemKind::kText);
  EXPECT_EQ(surface.Items().back().y1, 0.0);
}

TEST_F(PlotCurvesTest, DrawsEachLineStyleTheZeroLineAndTheGrid) {
  FillCurves(11, -0.25, 0.25, 3, [](int k, double x) { return 1e-6 * k * (1 + 2 * x) - 1e-6; });
  model.LineStyles(2) = 2;
  model.LineStyles(3) = 3;
  model.ShowGrid = true;
  Plot();
  // Curve 1 in dots, curve 2 in squares centred on the points, curve 3 as one point and lines.
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 12u);
  auto rectangles = ItemsOf(ItemKind::kRectangle);
  ASSERT_EQ(rectangles.size(), 12u);  // the frame and 11 squares
  EXPECT_NEAR((rectangles[1]->y1 + rectangles[1]->y2) / 2, model.CurrentY(1, 2), 1e-21);
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
  // Typed y limits far beyond the tick unit (|y| >= 1e7 leaves it at 1e6): the x ticks are
  // drawn, then the plot ends instead of drawing a billion y ticks.
  FillCurves(11, -0.1, 0.1, 1, [](int, double) { return 1e-6; });
  TypeYRange(-1e15, 1e6);
  Plot();
  EXPECT_TRUE(HasText("I /A  1E6"));
  EXPECT_EQ(XLabels().size(), 3u);
  EXPECT_LT(surface.Items().size(), 50u);

  // More curves than the store holds, points beyond the tables, or a typed range that did not
  // fit a double fail before anything is touched.
  size_t drawn = surface.Items().size();
  model.CurveCount = kMaxCurves + 1;
  model.PlotYMax = 123;
  EXPECT_FALSE(Plot());
  EXPECT_EQ(model.PlotYMax, 123);
  model.CurveCount = 1;
  EXPECT_FALSE(
      PlotCurves(context, 1, kMaxPoints + 1, model.PotentialX, model.CurrentY, model.LineStyles));
  context.options.rangeOverflow = true;
  EXPECT_FALSE(Plot());
  EXPECT_EQ(surface.Items().size(), drawn);
}

TEST_F(PlotCurvesTest, TheYTitleFollowsTheChosenQuantity) {
  FillCurves(11, -0.1, 0.1, 7, [](int, double) { return 2e-3; });
  for (auto [quantity, title] : {std::pair{"surface concentration C", "C /M  1E-3"},
                                 {"resistance R", "R /Ohm  1E-3"},
                                 {"conductance Cond", "Cond *Ohm  1E-3"},
                                 {"", "E /V"}}) {  // nothing chosen: neither title nor unit
    context.options.quantity = quantity;
    Plot();
    EXPECT_EQ(Texts().front(), title);
  }
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 5u * 11u);  // curves 6 and 7 have no style
}

// Without a window the picture is painted when it is used; then it is the picture painted at once,
// and the ranges and messages are those of the plot at once, whatever the plots before it.
TEST(PlotWhenUsed, PaintsThePictureAPlotAtOncePaints) {
  struct Run : PlotFixture {
    void TestBody() override {}
    void Plots(bool whenUsed) {
      surface.paintWhenUsed = whenUsed;
      FillCurves(41, -0.2, 0.2, 2, [](int k, double x) { return k * 1e-6 * std::tanh(20 * x); });
      Keep(Plot());
      ranges.push_back({model.PlotXMin, model.PlotXMax, model.PlotYMin, model.PlotYMax});
      model.LineStyles(2) = 3;
      model.ShowGrid = true;
      Keep(Plot());
      pictures.push_back(surface.Items());
      TypeYRange(-1e15, 1e6);  // ends partway through the picture
      Keep(Plot());
      context.options.autoY = true;
      FillCurves(5, 0.1, 0.1, 1, [](int, double) { return 0.0; });  // no data
      Keep(Plot());
      context.options.rangeOverflow = true;  // nothing is touched
      Keep(Plot());
      ranges.push_back({model.PlotXMin, model.PlotXMax, model.PlotYMin, model.PlotYMax});
      pictures.push_back(surface.Items());
    }
    void Keep(const Outcome& outcome) {
      if (outcome) messages.push_back(outcome->message);
    }
    std::vector<std::string> messages;
    std::vector<std::vector<double>> ranges;
    std::vector<std::vector<DisplayItem>> pictures;
  };
  Run atOnce;
  atOnce.Plots(false);
  Run whenUsed;
  whenUsed.Plots(true);
  EXPECT_EQ(whenUsed.ranges, atOnce.ranges);
  EXPECT_EQ(whenUsed.messages, atOnce.messages);
  EXPECT_EQ(atOnce.messages, std::vector<std::string>{"Error: No data!"});
  EXPECT_TRUE(whenUsed.pictures == atOnce.pictures);
  EXPECT_GT(atOnce.pictures[0].size(), 100u);
}

}  // namespace
}  // namespace qalto
