#pragma once
// A child window of the main window showing one form model (or the result text, or the plot).
// Its close box does not close it: the application decides (hide, or discard the form).

#include <QMdiSubWindow>
#include <functional>

#include "desktop/window_content.h"
#include "ui/form.h"

namespace qalto {

class FormWindow : public QMdiSubWindow {
 public:
  // content is a widget that is also a WindowContent; the window takes it over.
  template <typename Content>
  FormWindow(Form& form, Content* content) : form_(form), content_(content) {
    setWidget(content);
    Init();
  }

  Form& form() const { return form_; }
  WindowContent& content() const { return *content_; }

  // The user asks to close the window with its close box (or the system menu).
  std::function<void()> onCloseRequest;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Init();

  Form& form_;
  WindowContent* content_;
};

}  // namespace qalto
