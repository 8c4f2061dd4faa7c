#pragma once
// The window of a form model: one widget per control, arranged by the frames and grid hints of
// the model, kept in step with the model both ways.

#include <QWidget>
#include <memory>
#include <vector>

#include "desktop/control_binding.h"
#include "desktop/window_content.h"
#include "ui/form.h"

namespace qalto {

class FormView : public QWidget, public WindowContent {
 public:
  FormView(Form& form, EventRunner run, QWidget* parent = nullptr);
  ~FormView() override;

  Form& form() const { return form_; }
  // The widget of a control of the form, nullptr when it has none.
  QWidget* WidgetOf(const Control& control) const;

  bool TakeLayoutChange() override;
  void Resync() override;
  void Detach() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Enter presses the form's OK button; Esc closes the form, as its close box does.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OrderTabs();

  Form& form_;
  std::vector<std::unique_ptr<ControlBinding>> bindings_;
  bool layoutChanged_ = false;
};

}  // namespace qalto
