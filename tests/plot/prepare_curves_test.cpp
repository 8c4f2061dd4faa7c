#include "plot/plot_fixture.h"

namespace qalto {
namespace {

class PrepareCurvesTest : public PlotFixture {
 protected:
  PrepareCurvesTest() {
    model.FirstPoint = 1;
    model.LastPoint = 20;
    model.SpeciesCount = 3;
    model.TotalCurrentColumn = 2;
    model.CurrentCurve = model.TargetCurve = 2;
    for (int j = 1; j <= 20; ++j) {
      model.PotentialX(j) = 0.01 * j;
      model.ReactionCurrents(j, 1) = -1.0;
      model.ReactionCurrents(j, 2) = 1.1e-6 * j;
      for (int s = 1; s <= kMaxSpecies; ++s)
        model.SurfaceConcentrations(j, s) = 1e-3 * s + 1e-5 * j;
    }
  }

  void Prepare() {
    PrepareCurves(model, context.options, [this] { ++refreshes; });
  }

  int refreshes = 0;
};

TEST_F(PrepareCurvesTest, SurfaceConcentrationsFillOneSlotPerSpecies) {
  context.options.quantity = "surface concentration C";
  Prepare();
  EXPECT_EQ(model.CurveCount, 3);
  EXPECT_EQ(model.CurrentY(7, 3), 3e-3 + 7e-5);
  model.OverlapPlot = true;  // overlaid, the new concentrations follow the old ones
  Prepare();
  EXPECT_EQ(model.CurveCount, 6);
  EXPECT_EQ(model.CurrentY(7, 4), 1e-3 + 7e-5);
  // Five species cannot be overlaid in eight slots: they are drawn without the overlay.
  model.SpeciesCount = 5;
  model.CurrentY.Clear();
  Prepare();
  EXPECT_EQ(model.CurveCount, 5);
  EXPECT_EQ(model.CurrentY(7, 5), 5e-3 + 7e-5);
  EXPECT_EQ(model.CurrentY(7, 6), 0.0);
}

TEST_F(PrepareCurvesTest, PrepareAndPlotLeavesTheCurvesOfARunningFitAlone) {
  model.FitMode = true;
  model.CurveCount = 2;
  model.CurrentY(3, 2) = 5e-6;
  auto prepareAndPlot = [this] {
    PrepareAndPlot(
        context, [this] { ++refreshes; }, 1, 20, model.PotentialX, model.CurrentY,
        model.LineStyles);
  };
  prepareAndPlot();
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(model.CurrentY(3, 2), 5e-6);
  EXPECT_FALSE(surface.Items().empty());
  model.FitMode = false;
  prepareAndPlot();
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(model.CurrentY(3, 2), 1.1e-6 * 3);
  EXPECT_DOUBLE_EQ(model.PlotYMax, 3e-5);  // the prepared currents reach 2.2e-5 A
}

}  // namespace
}  // namespace qalto
