#include <QRadioButton>

#include "window_fixture.h"

namespace qalto {
namespace {

TEST_F(WindowTest, BoxesAndButtonsFollowTheModelBothWays) {
  Choose("mnuInstrument_Click");
  FormIns& ins = app.Ins();
  auto* estart = Widget<QLineEdit>(ins, ins.Estart);
  window.RunEvent(nullptr, [&] { ins.Estart.SetText("-0.1"); });
  EXPECT_EQ(estart->text(), "-0.1");
  Type(Widget<QLineEdit>(ins, ins.V), "0.02");  // the drop time is step / rate
  EXPECT_EQ(Widget<QLineEdit>(ins, ins.td)->text(), "0.25");
  // A box that holds no number is marked, and read as before.
  Type(estart, "1,5");
  EXPECT_NE(estart->styleSheet().indexOf("red"), -1);
  EXPECT_EQ(estart->toolTip(), "not a number, read as 1");
  // Option buttons: one chosen in the group; the radius box only for a spherical electrode.
  auto* planar = Widget<QRadioButton>(ins, ins.optElectrode(1));
  auto* spherical = Widget<QRadioButton>(ins, ins.optElectrode(2));
  auto* radius = Widget<QLineEdit>(ins, ins.radius);
  EXPECT_TRUE(planar->isChecked() && radius->isHidden());
  spherical->click();
  EXPECT_TRUE(ins.optElectrode(2).Selected() && !ins.optElectrode(1).Selected());
  EXPECT_TRUE(spherical->isChecked() && !planar->isChecked() && !radius->isHidden());
  Type(radius, "0.2821");  // the box typed into keeps its text; its partner follows
  EXPECT_EQ(Widget<QLineEdit>(ins, ins.ARE)->text(), "1.e0");
}

TEST_F(WindowTest, ClosingHidesAFormWithItsValues) {
  Choose("mnuInstrument_Click");
  FormWindow* formWindow = window.WindowOf(app.Ins());
  Type(Widget<QLineEdit>(app.Ins(), app.Ins().Eend), "-0.5");
  formWindow->close();
  Choose("mnuInstrument_Click");
  EXPECT_EQ(window.WindowOf(app.Ins()), formWindow);
  EXPECT_EQ(Widget<QLineEdit>(app.Ins(), app.Ins().Eend)->text(), "-0.5");
  // The techniques form keeps its technique through its close box and a Simulate.
  Choose("mnuTech_Click");
  Widget<QRadioButton>(app.Tech(), app.Tech().optTech(4))->click();
  window.WindowOf(app.Tech())->close();
  Choose("mnuSimulate_Click");
  EXPECT_EQ(app.model().Technique, Technique::kDifferentialPulse);
  Choose("mnuTech_Click");
  EXPECT_TRUE(Widget<QRadioButton>(app.Tech(), app.Tech().optTech(4))->isChecked());
  // Activating a window runs its activation: square wave has no scan rate.
  Widget<QRadioButton>(app.Tech(), app.Tech().optTech(5))->click();
  window.Area()->setActiveSubWindow(window.WindowOf(app.Ins()));
  EXPECT_EQ(app.ActiveForm(), &app.Ins());
  EXPECT_TRUE(Widget<QLineEdit>(app.Ins(), app.Ins().V)->isHidden());
}

TEST_F(WindowTest, ChemicalsColumnsLineUpAndTabGoesAlongAWholeRow) {
  Choose("mnuExperimental_Click");
  FormExpr& expr = app.Expr();
  FormView* view = View(expr);
  auto at = [&](QWidget* w) { return w->mapTo(view, QPoint(0, 0)); };
  auto x = [&](const Control& control) { return at(view->WidgetOf(control)); };
  EXPECT_EQ(x(expr.D(1)).x(), x(expr.D(2)).x());
  EXPECT_EQ(x(expr.C(1)).y(), x(expr.D(1)).y());
  Widget<QCheckBox>(expr, expr.CheckFitted(72))->click();     // shows the range boxes of D
  EXPECT_EQ(x(expr.TextDmin(2)).x(), x(expr.Header(3)).x());  // under "D min"
  // Tab goes from the first to the last input of species 2's row, left to right, then on below.
  QWidget* d2 = view->WidgetOf(expr.D(2));
  int top = at(d2).y(), bottom = top + d2->height();
  std::vector<QWidget*> row;
  for (QWidget* w : view->findChildren<QWidget*>()) {
    int middle = at(w).y() + w->height() / 2;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && middle >= top && middle <= bottom)
      row.push_back(w);
  }
  std::sort(row.begin(), row.end(), [&](QWidget* a, QWidget* b) { return at(a).x() < at(b).x(); });
  ASSERT_GE(row.size(), 3u);
  QWidget* w = row.front();
  for (QWidget* expected : row) {
    EXPECT_EQ(w, expected);
    do {
      w = w->nextInFocusChain();
    } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
  }
  EXPECT_GT(at(w).y() + w->height() / 2, bottom);
}

// What the robustness sweep runs through App, typed into the real widgets: no text in any box
// brings the window down.
TEST_F(WindowTest, BadInputInAnyBoxNeverCrashes) {
  for (const char* menu : {"mnuInstrument_Click", "mnuMechamism_Click", "mnuExperimental_Click"})
    Choose(menu);
  for (const char* text : {"abc", "1e999", "-", "", "1e-400", "0"}) {
    SCOPED_TRACE(text);
    for (Form* form : {static_cast<Form*>(&app.Ins()), static_cast<Form*>(&app.Expr()),
                       static_cast<Form*>(&app.Mech())}) {
      for (QLineEdit* edit : View(*form)->findChildren<QLineEdit*>()) {
        if (!edit->isHidden() && !edit->isReadOnly()) Type(edit, text);
      }
    }
    Choose("mnuSimulate_Click");
    Choose("mnuExperimental_Click");
  }
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(platform.messages.empty());  // failures end in message boxes
}

}  // namespace
}  // namespace qalto
