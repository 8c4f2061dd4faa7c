#pragma once
// The desktop window over an application with a recording platform, on the offscreen display,
// driven through its widgets as a user drives it.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/app.h"
#include "desktop/form_view.h"
#include "desktop/mdi_form1.h"
#include "ui/recording_platform.h"

namespace qalto {

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
    ASSERT_NE(action, nullptr) << handler;
    ASSERT_TRUE(action->isEnabled()) << handler;
    action->trigger();
    WaitForRun();
  }

  // Lets the window handle its events until the background run has ended.
  void WaitForRun() {
    QElapsedTimer clock;
    clock.start();
    while (window.Running() && clock.elapsed() < kLongestRun)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(window.Running()) << "the run did not end";
  }
  static constexpr int kLongestRun = 120000;  // ms

  FormView* View(const Form& form) {
    FormWindow* formWindow = window.WindowOf(form);
    return formWindow == nullptr ? nullptr : dynamic_cast<FormView*>(formWindow->widget());
  }

  // The widget of a control in its form's window.
  template <typename W>
  W* Widget(const Form& form, const Control& control) {
    FormView* view = View(form);
    return view == nullptr ? nullptr : qobject_cast<W*>(view->WidgetOf(control));
  }

  // Replaces the whole text of a box in one edit, as pasting does.
  static void Paste(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->insert(text);
  }

  // Types the text key by key over the selected old text.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  RecordingPlatform platform;
  App app{platform};
  MDIForm1 window{app};
};

}  // namespace qalto
