// The curve list: transforms act on the selected curves, Undo takes back transforms, imports
// and fits, and simulated and imported curves are named by their origin.

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

class CurveListTest : public AppTest {
 protected:
  // Two overlaid analytical sweeps, at 0.01 and 0.1 V/s.
  void SimulateTwoCurves() {
    UseAnalyticalMechanism(1);
    app.Option().overlap.SetChecked(true);
    app.ChooseMenu("mnuSimulate");
    app.Ins().V.SetText("0.1");
    app.ChooseMenu("mnuSimulate");
    ASSERT_EQ(model.CurveCount, 2);
  }

  std::vector<double> Curve(int k) const { return qalto::Curve(model, k); }
};

TEST_F(CurveListTest, TransformsActOnTheSelectedCurvesAndUndoTakesThemBack) {
  SimulateTwoCurves();
  const std::vector<double> first = Curve(1), second = Curve(2);
  EXPECT_EQ(app.CurveName(1), "ks 10000 cm/s, 0.01 V/s");
  EXPECT_EQ(app.CurveName(2), "ks 10000 cm/s, 0.1 V/s");
  // Nothing selected: the active curve alone.
  app.ChooseMenu("mnuMinusY");
  EXPECT_EQ(Curve(2)[10], -second[10]);
  EXPECT_EQ(Curve(1), first);
  app.ChooseMenu("mnuUndo");
  EXPECT_EQ(Curve(2), second);
  // Both selected: both change, and one Undo brings both back exactly.
  app.SelectCurves({1, 2});
  app.ChooseMenu("mnu10Y");
  app.ChooseMenu("mnuIntegral");
  EXPECT_NE(Curve(1), first);
  EXPECT_NE(Curve(2), second);
  app.ChooseMenu("mnuUndo");
  app.ChooseMenu("mnuUndo");
  EXPECT_EQ(Curve(1), first);
  EXPECT_EQ(Curve(2), second);
  // Reverse turns the potentials and the selected curves round; twice gives them back.
  const double firstPotential = model.PotentialX(1);
  app.ChooseMenu("mnuMinusX");
  EXPECT_EQ(model.PotentialX(model.NumberOfPoints), firstPotential);
  app.ChooseMenu("mnuUndo");
  EXPECT_EQ(model.PotentialX(1), firstPotential);
  EXPECT_EQ(Curve(1), first);
}

// Undo of an import, of a refused run and with nothing left: undo.qs.
TEST_F(CurveListTest, UndoTakesBackAnOverlaidRunAndAnImportIsNamedByItsFile) {
  SimulateTwoCurves();
  app.ChooseMenu("mnuUndo");  // the second simulation
  EXPECT_EQ(model.CurveCount, 1);
  TempFolder folder;
  Import(folder.Write("cv $HOME.txt", "0.1,1e-6\n0.2,2e-6\n0.3,4e-6\n"));
  EXPECT_NE(app.CurveName(model.CurrentCurve).find("cv $HOME.txt"), std::string::npos);
}

TEST_F(CurveListTest, HiddenAndActiveCurvesFollowTheList) {
  SimulateTwoCurves();
  app.SetActiveCurve(1);
  EXPECT_EQ(model.CurrentCurve, 1);
  app.SetActiveCurve(5);  // no such curve: the active one stays
  EXPECT_EQ(model.CurrentCurve, 1);
  app.SetCurveHidden(2, true);
  EXPECT_TRUE(app.CurveHidden(2));
  EXPECT_EQ(app.SelectedCurves(), std::vector<int>{1});
  app.SelectCurves({2, 7, 2});  // a slot beyond the curves is left out
  EXPECT_EQ(app.SelectedCurves(), std::vector<int>{2});
}

}  // namespace
}  // namespace qalto
