#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "window_fixture.h"

namespace qalto {
namespace {

TEST_F(WindowTest, TextBoxFollowsTheModelBothWays) {
  Choose("mnuInstrument_Click");
  FormIns& ins = app.Ins();
  auto* estart = Widget<QLineEdit>(ins, ins.Estart);
  ASSERT_NE(estart, nullptr);
  EXPECT_EQ(estart->text(), "0.3");
  Type(estart, "0.45");
  EXPECT_EQ(ins.Estart.Text(), "0.45");
  window.RunEvent(nullptr, [&] { ins.Estart.SetText("-0.1"); });
  EXPECT_EQ(estart->text(), "-0.1");
  // A dependent field appears while the user types: the drop time is step / rate.
  Type(Widget<QLineEdit>(ins, ins.V), "0.02");
  EXPECT_EQ(ins.td.Text(), "0.25");
  EXPECT_EQ(Widget<QLineEdit>(ins, ins.td)->text(), "0.25");
}

TEST_F(WindowTest, OptionGroupAndVisibilityFollowTheModel) {
  Choose("mnuInstrument_Click");
  FormIns& ins = app.Ins();
  auto* planar = Widget<QRadioButton>(ins, ins.optElectrode(1));
  auto* spherical = Widget<QRadioButton>(ins, ins.optElectrode(2));
  auto* radius = Widget<QLineEdit>(ins, ins.radius);
  EXPECT_TRUE(planar->isChecked());
  EXPECT_TRUE(radius->isHidden());  // a planar electrode has no radius
  spherical->click();
  EXPECT_TRUE(ins.optElectrode(2).Selected());
  EXPECT_FALSE(ins.optElectrode(1).Selected());
  EXPECT_FALSE(planar->isChecked());
  EXPECT_TRUE(spherical->isChecked());
  EXPECT_FALSE(radius->isHidden());
  spherical->click();  // clicking the chosen button keeps it chosen
  EXPECT_TRUE(spherical->isChecked());
  // The box typed into keeps its text; its partner follows in the window.
  Paste(radius, "0.2821");
  EXPECT_EQ(radius->text(), "0.2821");
  EXPECT_EQ(Widget<QLineEdit>(ins, ins.ARE)->text(), "1.e0");
  Paste(Widget<QLineEdit>(ins, ins.ARE), "3.14");
  EXPECT_EQ(Widget<QLineEdit>(ins, ins.ARE)->text(), "3.14");
  EXPECT_EQ(radius->text(), "5.e-1");
  // Disabled buttons follow the model too.
  EXPECT_FALSE(Widget<QRadioButton>(ins, ins.optElectrode(9))->isEnabled());
}

TEST_F(WindowTest, ABoxThatHoldsNoNumberIsMarked) {
  Choose("mnuInstrument_Click");
  FormIns& ins = app.Ins();
  auto* estart = Widget<QLineEdit>(ins, ins.Estart);
  Type(estart, "1,5");
  EXPECT_NE(estart->styleSheet().indexOf("red"), -1);
  EXPECT_EQ(estart->toolTip(), "not a number, read as 1");
  Choose("mnuSimulate_Click");
  EXPECT_DOUBLE_EQ(app.model().StartPotential, 1.0);  // read as before
  Type(estart, "1.5");
  EXPECT_TRUE(estart->styleSheet().isEmpty());
}

TEST_F(WindowTest, ClosingHidesAFormWithItsValues) {
  Choose("mnuInstrument_Click");
  FormIns& ins = app.Ins();
  FormWindow* formWindow = window.WindowOf(ins);
  Type(Widget<QLineEdit>(ins, ins.Eend), "-0.5");
  formWindow->close();
  EXPECT_FALSE(ins.Shown());
  EXPECT_TRUE(formWindow->isHidden());
  EXPECT_EQ(window.WindowOf(ins), formWindow);
  Choose("mnuInstrument_Click");
  EXPECT_FALSE(formWindow->isHidden());
  EXPECT_EQ(Widget<QLineEdit>(ins, ins.Eend)->text(), "-0.5");
}

TEST_F(WindowTest, ClosingTheTechniquesFormDiscardsIt) {
  Choose("mnuTech_Click");
  FormTech* first = &app.Tech();
  Widget<QRadioButton>(*first, first->optTech(4))->click();
  EXPECT_TRUE(first->optTech(4).Selected());
  FormWindow* firstWindow = window.WindowOf(*first);
  ASSERT_NE(firstWindow, nullptr);
  firstWindow->close();
  EXPECT_EQ(window.WindowOf(*first), nullptr);
  Choose("mnuTech_Click");
  FormTech& second = app.Tech();
  ASSERT_NE(window.WindowOf(second), nullptr);
  EXPECT_TRUE(second.optTech(1).Selected());
  EXPECT_TRUE(Widget<QRadioButton>(second, second.optTech(1))->isChecked());
  EXPECT_FALSE(Widget<QRadioButton>(second, second.optTech(4))->isChecked());
}

TEST_F(WindowTest, ActivatingAWindowRunsItsActivation) {
  Choose("mnuInstrument_Click");
  Choose("mnuTech_Click");
  Widget<QRadioButton>(app.Tech(), app.Tech().optTech(5))->click();
  EXPECT_EQ(app.ActiveForm(), &app.Tech());
  EXPECT_TRUE(app.Ins().V.Visible());
  window.Area()->setActiveSubWindow(window.WindowOf(app.Ins()));
  EXPECT_EQ(app.ActiveForm(), &app.Ins());
  EXPECT_FALSE(app.Ins().V.Visible());  // the square wave technique has no scan rate
  EXPECT_TRUE(Widget<QLineEdit>(app.Ins(), app.Ins().V)->isHidden());
}

TEST_F(WindowTest, ChemicalsColumnsLineUp) {
  Choose("mnuExperimental_Click");
  FormExpr& expr = app.Expr();
  auto x = [&](const Control& control) {
    QWidget* widget = View(expr)->WidgetOf(control);
    return widget->mapTo(View(expr), QPoint(0, 0));
  };
  ASSERT_GE(app.model().SpeciesCount, 2);
  EXPECT_EQ(x(expr.D(1)).x(), x(expr.D(2)).x());
  EXPECT_EQ(x(expr.C(1)).x(), x(expr.C(2)).x());
  EXPECT_EQ(x(expr.D(1)).y(), x(expr.C(1)).y());
  EXPECT_LT(x(expr.D(1)).y(), x(expr.D(2)).y());
  EXPECT_EQ(x(expr.CheckFitted(1)).x(), x(expr.CheckFitted(2)).x());
  // A fitted parameter shows its range boxes in their columns.
  Widget<QCheckBox>(expr, expr.CheckFitted(72))->click();
  EXPECT_FALSE(Widget<QLineEdit>(expr, expr.TextDmin(2))->isHidden());
  EXPECT_EQ(x(expr.TextDmin(2)).x(), x(expr.Header(3)).x());  // under "D min"
  EXPECT_EQ(expr.Header(3).Caption(), "D min");
  // Tab goes along a species' row (D, then c) before the next species.
  auto next = [](QWidget* w) {
    do {
      w = w->nextInFocusChain();
    } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
    return w;
  };
  QWidget* d1 = View(expr)->WidgetOf(expr.D(1));
  QWidget* afterD1 = next(d1);
  int middle = afterD1->mapTo(View(expr), QPoint(0, afterD1->height() / 2)).y();
  EXPECT_GE(middle, x(expr.D(1)).y());  // on D's line
  EXPECT_LE(middle, x(expr.D(1)).y() + d1->height());
  EXPECT_GT(afterD1->mapTo(View(expr), QPoint(0, 0)).x(), x(expr.D(1)).x());
  QWidget* w = d1;
  for (int i = 0; i < 200 && w != View(expr)->WidgetOf(expr.D(2)); ++i) {
    EXPECT_NE(w, View(expr)->WidgetOf(expr.D(3)));
    w = next(w);
  }
  EXPECT_EQ(w, View(expr)->WidgetOf(expr.D(2)));
}

TEST_F(WindowTest, ResultWindowShowsThePrintedLinesInFixedPitch) {
  Choose("mnuSimulate_Click");
  Choose("mnuNextCurve_Click");
  Choose("mnuTime_Click");
  FormWindow* resultWindow = window.WindowOf(app.Result());
  ASSERT_NE(resultWindow, nullptr);
  EXPECT_TRUE(resultWindow->isVisible());
  EXPECT_EQ(resultWindow->windowTitle(), "Result");
  auto* text = qobject_cast<QPlainTextEdit*>(resultWindow->widget());
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
  EXPECT_EQ(text->toPlainText().toStdString(), app.Result().Text());
  EXPECT_TRUE(text->toPlainText().startsWith("Curve Number is  1 \n"));
  Choose("mnuClear_Click");
  EXPECT_EQ(text->toPlainText(), "");
  Choose("mnuNextCurve_Click");
  EXPECT_EQ(text->toPlainText(), "Curve Number is  1 \n");
}

TEST_F(WindowTest, BadInputInAnyBoxNeverCrashes) {
  Choose("mnuInstrument_Click");
  Choose("mnuMechamism_Click");
  Choose("mnuExperimental_Click");
  const char* texts[] = {"abc", "1e999", "-", "", "1e-400", "0"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    for (Form* form : {static_cast<Form*>(&app.Ins()), static_cast<Form*>(&app.Expr()),
                       static_cast<Form*>(&app.Mech())}) {
      for (QLineEdit* edit : View(*form)->findChildren<QLineEdit*>()) {
        if (edit->isHidden() || edit->isReadOnly()) continue;
        Type(edit, text);
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
