#pragma once
// The desktop window over an application with a recording platform, on the offscreen display,
// driven through its widgets as a user drives it.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "app/app.h"
#include "desktop/form_view.h"
#include "desktop/mdi_form1.h"
#include "desktop/plot_view.h"
#include "tests/app/app_fixture.h"
#include "ui/recording_platform.h"

namespace qalto {

// Handles the events until the window's simulation, fit or session reading ends (2 min).
inline void WaitForRunOf(MDIForm1& busy) {
  QElapsedTimer clock;
  clock.start();
  while (busy.Running() && clock.elapsed() < 120000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_FALSE(busy.Running()) << "the run did not end";
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    platform.SetClock(1000.0);
    window.show();
  }

  QAction* Action(const std::string& handler) { return window.Menus().Action(handler); }

  // Picks a menu item as the user does, and waits for a simulation or fit to end.
  void Choose(const std::string& handler) {
    QAction* action = Action(handler);
    ASSERT_TRUE(action != nullptr && action->isEnabled()) << handler;
    action->trigger();
    WaitForRun();
  }

  void WaitForRun() { WaitForRunOf(window); }

  FormView* View(const Form& form) {
    FormWindow* formWindow = window.WindowOf(form);
    return formWindow == nullptr ? nullptr : dynamic_cast<FormView*>(formWindow->widget());
  }

  template <typename W>
  W* Widget(const Form& form, const Control& control) {
    FormView* view = View(form);
    return view == nullptr ? nullptr : qobject_cast<W*>(view->WidgetOf(control));
  }

  // Types the text key by key over the selected old text.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  void CheckDigital(bool on) {
    auto* box = Widget<QCheckBox>(app.Mech(), app.Mech().CheckDigital);
    if (box->isChecked() != on) box->click();
  }

  // An analytical cyclic voltammogram of A + e = B.
  void SimulateAnalyticalCycle() {
    Choose("mnuMechamism_Click");
    CheckDigital(false);
    Choose("mnuInstrument_Click");
    window.RunEvent(&app.Ins(), [&] { app.Ins().ComboScan.SelectText("cycle"); });
    Choose("mnuSimulate_Click");
  }

  static void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
                   Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
  }

  static void Drag(QWidget* widget, QPointF from, QPointF to, Qt::MouseButton button) {
    Send(widget, QEvent::MouseButtonPress, from, button, button);
    Send(widget, QEvent::MouseMove, to, Qt::NoButton, button);
    Send(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
  }

  RecordingPlatform platform;
  App app{platform};
  MDIForm1 window{app};
};

}  // namespace qalto
