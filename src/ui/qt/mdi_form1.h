#pragma once
// MDIForm1, the main window: the menu bar built from the application's menu tree, and a
// multiple-document area holding one child window per form, the result window and the plot
// window. Every user action becomes an event on the application; after each one the menus,
// the child windows and their contents are brought in line with the application's state.

#include <QMainWindow>
#include <QMdiArea>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/app.h"
#include "ui/qt/form_window.h"
#include "ui/qt/menu_bar.h"

namespace qalto {

class MDIForm1 : public QMainWindow {
 public:
  explicit MDIForm1(App& app, QWidget* parent = nullptr);
  ~MDIForm1() override;

  App& app() const { return app_; }
  QMdiArea* Area() const { return area_; }
  const MenuBar& Menus() const { return *menus_; }
  // The child window of a form, nullptr while the form has none.
  FormWindow* WindowOf(const Form& form) const;
  // The size the plot window shows its drawing at; empty while there is no plot window.
  QSize PlotPictureSize() const;

  // Runs a user's event. When it happens in a form's window and that window is not the active
  // one, the window becomes active first (its activation handler runs). A run-time error ends
  // in a message box; then every window is brought up to date, and an Exit closes the program.
  void RunEvent(Form* form, const std::function<void()>& event);
  // The user picks a menu item.
  void ChooseMenu(const std::string& handler, const std::string& caption);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void AfterEvent();
  void SyncWindows();
  FormWindow* MakeWindow(Form& form);
  void PlaceWindow(FormWindow* window);
  void KeepInside(FormWindow* window);
  void OnSubWindowActivated(QMdiSubWindow* window);
  void OnFormDiscarded(Form& form);

  App& app_;
  QMdiArea* area_;
  std::unique_ptr<MenuBar> menus_;
  std::map<const Form*, FormWindow*> windows_;
  int eventDepth_ = 0;  // events running; window activations inside them are the program's own
};

}  // namespace qalto
