#pragma once
// MDIForm1, the main window: the menu bar built from the application's menu tree, and a
// multiple-document area holding one child window per form, the result window and the plot
// window. Every user action becomes an event on the application; after each one the menus,
// the child windows and their contents are brought in line with the application's state.
// Simulations and fits run in the background with their progress and a Cancel in the status
// bar; the File menu adds sessions, picture export and the recent files.

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/app.h"
#include "desktop/background_run.h"
#include "desktop/curve_list_view.h"
#include "desktop/fit_table_view.h"
#include "desktop/form_window.h"
#include "desktop/menu_bar.h"

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
  // The user picks a menu item. Long commands start in the background; nothing else runs
  // until they end.
  void ChooseMenu(const std::string& handler, const std::string& caption);
  // The default experiment's voltammogram, simulated in the background at start; the work the
  // user does starts after it.
  void ShowFirstCurve();

  // A background run is going on.
  bool Running() const { return BackgroundRun::Active(); }
  // Stops the background run at its next point or iteration; the old curves stay.
  void CancelRun();
  QProgressBar* ProgressBar() const { return progress_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLabel* StatusText() const { return statusText_; }
  CurveListView* CurveList() const { return curveList_; }
  FitTableView* FitTable() const { return fitTable_; }

  // The plot window's view, nullptr while there is none.
  class PlotView* Plot() const;
  // Writes the session to the file; false, after a message, on failure.
  bool SaveSession(const QString& path);
  // Brings back the session of the file; false, after a message naming the line, when any line
  // of it is not a session's (nothing of it is then applied).
  bool OpenSession(const QString& path);
  // Writes the plot picture (.svg, .png or .pdf by the extension) at that size.
  bool ExportPicture(const QString& path, QSize size);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void AddFileCommands();
  void AddShortcuts();
  // The Window menu: tile and cascade the child windows, show or hide the curve list.
  void AddWindowMenu();
  void FillRecentFiles();
  void OpenRecent(const QString& path);
  void ConnectSessions();
  void PlaceSessionWindows();
  void AskExportPicture();
  void StartRun(const std::string& handler);
  void ShowProgress();
  void EndRun(bool cancelled);
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
  std::unique_ptr<BackgroundRun> run_;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* statusText_ = nullptr;
  QTimer* progressTimer_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  CurveListView* curveList_ = nullptr;
  FitTableView* fitTable_ = nullptr;
  bool closeAfterRun_ = false;
  bool placesPending_ = false;  // a session was opened: its windows take their places
  QString runStatus_;           // what the status bar says when the background run ends
  bool firstLook_ = false;      // the run is the first simulation, shown at start
};

}  // namespace qalto
