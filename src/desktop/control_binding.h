#pragma once
// One control model and the widget that shows it. The widget is made from the model (text box:
// line edit, read-only when locked; label; check box; option button; drop-down list; button;
// frame: group box), the user's actions on it become the model's events, and every change of the
// model's state reaches the widget through the control's observer.

#include <QWidget>
#include <functional>

#include "ui/controls.h"

namespace qalto {

// Runs a user's event on the form's models (through the application, which catches run-time
// errors and brings every window up to date afterwards).
using EventRunner = std::function<void(const std::function<void()>&)>;

class ControlBinding {
 public:
  // Makes the widget as a child of parent and starts observing the control.
  ControlBinding(Control& control, QWidget* parent, EventRunner run);
  ~ControlBinding();
  ControlBinding(const ControlBinding&) = delete;
  ControlBinding& operator=(const ControlBinding&) = delete;

  Control& control() const { return control_; }
  QWidget* widget() const { return widget_; }
  bool IsFrame() const { return control_.Kind() == ControlKind::kFrame; }
  bool IsInput() const;  // a text box or a list, which a label in front of it names

  // Brings the widget in line with the model.
  void Sync();
  // Stops observing and silences the widget: the control model is about to go.
  void Detach();

  // Called when the control is shown or hidden, which changes the window's layout.
  std::function<void()> onVisibilityChange;

 private:
  QWidget* Make(QWidget* parent);
  void Run(const std::function<void()>& event);
  void SyncContent();

  Control& control_;
  EventRunner run_;
  QWidget* widget_ = nullptr;
  bool detached_ = false;
};

}  // namespace qalto
