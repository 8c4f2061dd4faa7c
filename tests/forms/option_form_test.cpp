#include "forms/option_form.h"
#include "plot/plot_fixture.h"

namespace qalto {
namespace {

class OptionFormTest : public PlotFixture {
 protected:
  OptionFormTest() {
    options.ComboY.SetListIndex(0);  // start-up chooses "current I"
    FillCurves(11, -0.2, 0.2, 2, [](int k, double x) { return 1e-6 * k + 1e-5 * x; });
    // The newest simulated current is curve 2, with its total in column 3 of the results.
    model.TargetCurve = 2;
    model.CurrentCurve = 2;
    model.TotalCurrentColumn = 3;
    for (int j = 1; j <= 11; ++j)
      model.ReactionCurrents(j, 3) = model.CurrentY(j, 2);
    options.Connect(
        surface, [this] { ++refreshes; },
        [this](const std::string& message) { messages.push_back(message); },
        [this] { return currentIsTheRun; });
  }
  FormOption options{model};
  int refreshes = 0;
  bool currentIsTheRun = true;
  std::vector<std::string> messages;
};

TEST_F(OptionFormTest, OKCopiesTheSettingsRedrawsAtOnceAndHides) {
  options.Show();
  options.CheckGrid.Click();
  options.linestyle2(1).Click();
  options.linestyle3(4).Click();
  options.cmdOK.Click();
  EXPECT_FALSE(options.Shown());
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(model.ShowGrid);
  EXPECT_EQ((std::vector<int>{model.LineStyles(1), model.LineStyles(2), model.LineStyles(5),
                              model.LineStyles(6)}),
            (std::vector<int>{1, 2, 3, 0}));
  // Curve 1 in dots, curve 2 in squares around its points.
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 11u);
  EXPECT_EQ(ItemsOf(ItemKind::kRectangle).size(), 1u + 11u);
}

// OK prepares the current curve from the run's columns for the y choice only while it is the
// run's curve: a measured curve in its place is drawn as it is.
TEST_F(OptionFormTest, OKLeavesAMeasuredCurveAsItIs) {
  for (int j = 1; j <= 11; ++j)
    model.PassedCharge(j) = 1e-3 * j;
  options.ComboY.SelectText("charge Q");
  currentIsTheRun = false;
  const double measured = model.CurrentY(5, 2);
  options.cmdOK_Click();
  EXPECT_EQ(model.CurrentY(5, 2), measured);
  EXPECT_EQ(refreshes, 0);
  currentIsTheRun = true;
  options.cmdOK_Click();
  EXPECT_EQ(model.CurrentY(5, 2), 5e-3);
}

// A potential program that stands at one potential (a step held) has no potential axis: it is
// drawn against its times, whatever the x choice, where an axis of no width would end the plot
// with "Error: No data!"; a program that moves keeps the x choice.
TEST_F(OptionFormTest, AProgramAtOnePotentialIsDrawnAgainstTime) {
  model.Technique = Technique::kPotentialProgram;
  for (int j = 0; j <= 11; ++j) {
    model.PotentialX(j) = -0.3;
    model.PointTimes(j) = 0.01 * j;
  }
  options.ComboX.SetListIndex(0);
  EXPECT_TRUE(options.TimeAxis());
  options.cmdOK_Click();
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_DOUBLE_EQ(model.PlotXMax - model.PlotXMin, 0.1);
  model.PotentialX(11) = -0.2;
  EXPECT_FALSE(options.TimeAxis());
}

TEST_F(OptionFormTest, TypedRangesCountOnlyWithoutAutomaticScalingAndReadTheirLeadingNumber) {
  options.XminText.SetText("-0.7");
  options.XmaxText.SetText("0.6");
  options.cmdOK.Click();
  EXPECT_DOUBLE_EQ(model.PlotXMin, -0.2);  // the data decide
  options.Xauto.Click();
  EXPECT_TRUE(options.XminText.Visible());
  EXPECT_FALSE(options.YminText.Visible());
  options.Yauto.Click();
  options.YmaxText.SetText("max");
  options.YminText.SetText("-2e-5 A");
  options.cmdOK.Click();
  EXPECT_EQ((std::vector<double>{model.PlotXMin, model.PlotXMax, model.PlotYMin, model.PlotYMax}),
            (std::vector<double>{-0.7, 0.6, -2e-5, 0.0}));
}

TEST_F(OptionFormTest, ClosingHidesAndReopeningShowsTheSameSettings) {
  options.Show();
  options.Yauto.Click();
  options.YmaxText.SetText("5e-6");
  options.ComboY.SelectText("surface concentration C");
  ASSERT_EQ(options.OnClose(), CloseBehaviour::kHide);
  options.Hide();
  options.Show();
  EXPECT_TRUE(options.YmaxText.Visible());
  EXPECT_EQ(options.YmaxText.Text(), "5e-6");
  EXPECT_EQ(options.ComboY.Text(), "surface concentration C");
}

TEST_F(OptionFormTest, ANumberTooLargeForTheModelEndsOnlyThePlot) {
  options.Yauto.Click();
  options.YmaxText.SetText("1e999");
  options.Show();
  EXPECT_NO_THROW(options.cmdOK.Click());
  EXPECT_FALSE(options.Shown());
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(surface.Shown());  // the plot ended before it showed the window
}

}  // namespace
}  // namespace qalto
