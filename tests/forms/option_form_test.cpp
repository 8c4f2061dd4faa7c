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
    options.Connect(surface, platform, [this] { ++refreshes; });
  }
  FormOption options{model};
  int refreshes = 0;
};

TEST_F(OptionFormTest, StartsWithItsCaptionsToolTipsAndSettings) {
  EXPECT_EQ(options.Name(), "formOption");
  EXPECT_EQ(options.Caption(), "Option");
  EXPECT_EQ(options.CheckGrid.Caption(), "Grid");
  EXPECT_FALSE(options.CheckGrid.Checked());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(options.Frame1(i).Caption(), "Curve " + std::to_string(i + 1));
    EXPECT_EQ(options.Linestyle(i).Caption(), "Line style");
    EXPECT_EQ(options.linestyle1(i).Caption(), "...........");
    EXPECT_EQ(options.linestyle2(i).Caption(), "oooooo");
    EXPECT_EQ(options.linestyle3(i).Caption(), "______");
    EXPECT_TRUE(options.linestyle1(i).Selected());
    EXPECT_FALSE(options.linestyle2(i).Selected());
    EXPECT_EQ(options.linestyle3(i).Container(), "Frame1(" + std::to_string(i) + ")");
  }
  EXPECT_THROW(options.Frame1(5), RuntimeError);
  EXPECT_EQ(options.overlap.Caption(), "Overlap");
  EXPECT_EQ(options.overlap.ToolTip(), "overlap plot");
  EXPECT_EQ(options.axis.Caption(), "Axis");
  EXPECT_EQ(options.ComboY.Items(),
            (std::vector<std::string>{"current I", "surface concentration C"}));
  EXPECT_EQ(options.CheckXdir.Caption(), "X direction: + -> -");
  EXPECT_EQ(options.CheckXdir.ToolTip(), "+ to -, or - to +");
  EXPECT_TRUE(options.CheckXdir.Checked());
  EXPECT_EQ(options.Yauto.ToolTip(), "auto scale of Y axis ");
  EXPECT_EQ(options.Xauto.ToolTip(), "auto scale of X axis ");
  EXPECT_TRUE(options.Yauto.Checked());
  EXPECT_TRUE(options.Xauto.Checked());
  EXPECT_EQ(options.YmaxText.Text(), "1e-3");
  EXPECT_EQ(options.YminText.Text(), "-1e-3");
  EXPECT_EQ(options.XmaxText.Text(), "0.3");
  EXPECT_EQ(options.XminText.Text(), "-0.3");
  EXPECT_EQ(options.Label5.ToolTip(), "maxinum Y value");
  EXPECT_EQ(options.Label4.ToolTip(), "mininum Y value");
  EXPECT_EQ(options.Label3.Caption(), "X max");
  EXPECT_EQ(options.Label2.ToolTip(), "mininum X value");
  EXPECT_EQ(options.cmdOK.Caption(), "OK");
  EXPECT_EQ(options.OnClose(), CloseBehaviour::kHide);
  // Automatic ranges at start: their fields are hidden.
  for (const Control* field : std::vector<const Control*>{
           &options.Label2, &options.XminText, &options.Label3, &options.XmaxText, &options.Label4,
           &options.YminText, &options.Label5, &options.YmaxText}) {
    EXPECT_FALSE(field->Visible()) << field->FullName();
  }
  EXPECT_EQ(options.Find("linestyle2", 3), &options.linestyle2(3));
}

TEST_F(OptionFormTest, OKCopiesTheSettingsIntoTheModel) {
  options.CheckGrid.Click();
  options.overlap.Click();
  options.linestyle2(0).Click();
  options.linestyle3(4).Click();
  options.OK();
  EXPECT_TRUE(model.ShowGrid);
  EXPECT_TRUE(model.OverlapPlot);
  EXPECT_EQ(model.LineStyles(1), 2);
  EXPECT_EQ(model.LineStyles(2), 1);
  EXPECT_EQ(model.LineStyles(5), 3);
  EXPECT_EQ(model.LineStyles(6), 0);
}

TEST_F(OptionFormTest, TypedRangesCountOnlyWithoutAutomaticScaling) {
  options.XminText.SetText("-0.7");
  options.XmaxText.SetText("0.6");
  options.cmdOK.Click();
  EXPECT_DOUBLE_EQ(model.PlotXMin, -0.2);  // the data decide
  EXPECT_DOUBLE_EQ(model.PlotXMax, 0.2);

  options.Xauto.Click();
  EXPECT_TRUE(options.XminText.Visible());
  EXPECT_TRUE(options.Label3.Visible());
  EXPECT_FALSE(options.YminText.Visible());
  options.cmdOK.Click();
  EXPECT_EQ(model.PlotXMin, -0.7);
  EXPECT_EQ(model.PlotXMax, 0.6);

  options.Xauto.Click();
  EXPECT_FALSE(options.XmaxText.Visible());
}

TEST_F(OptionFormTest, ATextWithoutANumberReadsZero) {
  options.Yauto.Click();
  options.YmaxText.SetText("max");
  options.YminText.SetText("-2e-5 A");
  options.OK();
  EXPECT_EQ(model.PlotYMax, 0.0);
  EXPECT_EQ(model.PlotYMin, -2e-5);
}

TEST_F(OptionFormTest, OKButtonRedrawsAtOnceAndHides) {
  options.Show();
  options.linestyle2(1).Click();
  options.cmdOK.Click();
  EXPECT_FALSE(options.Shown());
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(surface.Shown());
  EXPECT_EQ(model.LineStyles(2), 2);
  // Curve 1 in dots, curve 2 in squares around its points.
  EXPECT_EQ(ItemsOf(ItemKind::kPoint).size(), 11u);
  EXPECT_EQ(ItemsOf(ItemKind::kRectangle).size(), 1u + 11u);
}

TEST_F(OptionFormTest, ClosingHidesAndReopeningShowsTheSameSettings) {
  options.Show();
  options.CheckGrid.Click();
  options.Yauto.Click();
  options.YmaxText.SetText("5e-6");
  options.linestyle3(2).Click();
  options.ComboY.SelectText("surface concentration C");
  ASSERT_EQ(options.OnClose(), CloseBehaviour::kHide);
  options.Hide();
  options.Show();
  EXPECT_TRUE(options.CheckGrid.Checked());
  EXPECT_FALSE(options.Yauto.Checked());
  EXPECT_TRUE(options.YmaxText.Visible());
  EXPECT_EQ(options.YmaxText.Text(), "5e-6");
  EXPECT_TRUE(options.linestyle3(2).Selected());
  EXPECT_EQ(options.ComboY.Text(), "surface concentration C");
}

TEST_F(OptionFormTest, ANumberTooLargeForTheModelEndsOnlyThePlot) {
  options.Yauto.Click();
  options.YmaxText.SetText("1e999");
  options.Show();
  EXPECT_NO_THROW(options.cmdOK.Click());
  EXPECT_FALSE(options.Shown());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_FALSE(surface.Shown());  // the plot ended before it showed the window
}

}  // namespace
}  // namespace qalto
