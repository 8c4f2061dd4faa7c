#include "desktop/mdi_form1.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "desktop/form_view.h"
#include "desktop/plot_chart.h"
#include "desktop/plot_view.h"
#include "desktop/qt_platform.h"
#include "desktop/result_view.h"

namespace qalto {
namespace {

// Every child window the application has, in the order they are brought up to date.
constexpr const char* kFormNames[] = {"FormTech",   "FormMech",   "FormIns",
                                      "FormExpr",   "formOption", "FormPlot",
                                      "FormResult", "frmAbout",   "FormImport",
                                      "FormProgram"};

constexpr int kPlacementStep = 16;  // px between the positions tried for a new child window

std::string WithoutAccessKey(const std::string& caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

}  // namespace

MDIForm1::MDIForm1(App& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setObjectName("MDIForm1");
  setWindowTitle(kAppTitle);
  area_ = new QMdiArea(this);
  area_->setObjectName("MDIArea");
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);
  menus_ = std::make_unique<MenuBar>(
      menuBar(), app_.Menus(), [this](const std::string& handler, const std::string& caption) {
        ChooseMenu(handler, caption);
      });
  QObject::connect(area_, &QMdiArea::subWindowActivated, this,
                   [this](QMdiSubWindow* window) { OnSubWindowActivated(window); });
  app_.formDiscarded = [this](Form& form) { OnFormDiscarded(form); };
  run_ = std::make_unique<BackgroundRun>(app_);
  statusText_ = new QLabel(this);
  statusText_->setObjectName("StatusText");
  statusText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("RunProgress");
  progress_->setMaximumWidth(220);
  progress_->hide();
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("CancelRun");
  cancel_->setToolTip("Stop the computation; the previous curves and values stay (Esc)");
  cancel_->setShortcut(QKeySequence(Qt::Key_Escape));
  cancel_->hide();
  QObject::connect(cancel_, &QPushButton::clicked, this, [this] { CancelRun(); });
  statusBar()->addWidget(statusText_, 1);
  statusBar()->addPermanentWidget(progress_);
  statusBar()->addPermanentWidget(cancel_);
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(50);  // ms between updates of the progress bar
  QObject::connect(progressTimer_, &QTimer::timeout, this, [this] { ShowProgress(); });
  curveList_ = new CurveListView(
      app_, [this](const std::function<void()>& event) { RunEvent(nullptr, event); }, this);
  addDockWidget(Qt::RightDockWidgetArea, curveList_);
  fitTable_ = new FitTableView(app_, this);
  addDockWidget(Qt::RightDockWidgetArea, fitTable_);
  fitTable_->hide();  // until a fit has values to show
  AddFileCommands();
  AddShortcuts();
  AddWindowMenu();
  ConnectSessions();
  if (auto* platform = dynamic_cast<QtPlatform*>(&app_.platform())) {
    // The clipboard and the printer get the picture the plot window shows.
    platform->SetPlotPainter([this](QPainter& painter, QSize size) {
      PlotView* view = Plot();
      if (view == nullptr || view->Data().Empty()) return false;
      PlotChart(view->Data(), view->View(), size).Paint(painter);
      return true;
    });
  }
  QRect screen = QGuiApplication::primaryScreen() != nullptr
                     ? QGuiApplication::primaryScreen()->availableGeometry()
                     : QRect(0, 0, 1280, 860);
  resize(std::min(1280, screen.width() * 9 / 10), std::min(860, screen.height() * 9 / 10));
  ++eventDepth_;
  AfterEvent();
  --eventDepth_;
}

MDIForm1::~MDIForm1() {
  // The area outlives this part of the window and reports its windows going while it is torn
  // down; nothing of it may reach the application any more.
  QObject::disconnect(area_, nullptr, this, nullptr);
  app_.formDiscarded = nullptr;
  for (auto& [form, window] : windows_)
    window->content().Detach();
}

FormWindow* MDIForm1::WindowOf(const Form& form) const {
  auto found = windows_.find(&form);
  return found == windows_.end() ? nullptr : found->second;
}

QSize MDIForm1::PlotPictureSize() const {
  FormWindow* window = WindowOf(app_.Plot());
  return window == nullptr ? QSize() : window->widget()->size();
}

void MDIForm1::RunEvent(Form* form, const std::function<void()>& event) {
  ++eventDepth_;
  if (form != nullptr && app_.ActiveForm() != form) app_.ActivateForm(*form);
  app_.Guard(event);
  AfterEvent();
  --eventDepth_;
}

void MDIForm1::ChooseMenu(const std::string& handler, const std::string& caption) {
  if (Running()) return;  // one command at a time; the menus are disabled meanwhile
  if (app_.MenuRunsLong(handler) && app_.MenuEnabled(handler)) {
    StartRun(handler);
    return;
  }
  RunEvent(nullptr, [this, handler, caption] {
    if (app_.ChooseMenu(handler) == MenuOutcome::kNotAvailable) {
      std::string message = "\"";
      message += WithoutAccessKey(caption);
      message += "\" is not available in this version.";
      app_.platform().MessageBox(message);
    }
  });
}

void MDIForm1::AddWindowMenu() {
  QMenu* windows = new QMenu("&Window", this);
  windows->setObjectName("mnuWindow");
  windows->menuAction()->setProperty("windowCommand", true);
  QAction* help = menus_->Action("mnuHelp");
  menuBar()->insertMenu(help, windows);
  QAction* tile = windows->addAction("&Tile", area_, &QMdiArea::tileSubWindows);
  tile->setObjectName("TileWindows");
  QAction* cascade = windows->addAction("&Cascade", area_, &QMdiArea::cascadeSubWindows);
  cascade->setObjectName("CascadeWindows");
  windows->addSeparator();
  QAction* curves = curveList_->toggleViewAction();
  curves->setText("C&urve List");
  curves->setObjectName("ShowCurveList");
  windows->addAction(curves);
  QAction* fits = fitTable_->toggleViewAction();
  fits->setText("&Fit Results");
  fits->setObjectName("ShowFitResults");
  windows->addAction(fits);
}

void MDIForm1::AfterEvent() {
  app_.UpdateMenuStates();
  menus_->Sync(app_.Menus());
  SyncWindows();
  PlaceSessionWindows();
  curveList_->Refresh();
  if (fitTable_->Refresh() && fitTable_->Table()->rowCount() > 0) fitTable_->show();
  if (app_.ExitRequested()) close();
}

void MDIForm1::SyncWindows() {
  for (const char* name : kFormNames) {
    Form* form = app_.FindForm(name);
    if (form == nullptr) continue;
    FormWindow* window = WindowOf(*form);
    if (form->Shown()) {
      if (window == nullptr) window = MakeWindow(*form);
      window->setWindowTitle(QString::fromStdString(form->Caption()));
      if (window->isHidden()) window->show();
    } else if (window != nullptr && !window->isHidden()) {
      window->hide();
    }
    if (window == nullptr) continue;
    window->content().Refresh();
    if (window->content().TakeLayoutChange() && !window->isMaximized() && !window->isMinimized()) {
      window->adjustSize();
      KeepInside(window);
    }
  }
  Form* active = app_.ActiveForm();
  FormWindow* activeWindow = active == nullptr ? nullptr : WindowOf(*active);
  if (activeWindow != nullptr && !activeWindow->isHidden() &&
      area_->activeSubWindow() != activeWindow) {
    area_->setActiveSubWindow(activeWindow);
  }
}

FormWindow* MDIForm1::MakeWindow(Form& form) {
  FormWindow* window = nullptr;
  if (&form == &app_.Result()) {
    window = new FormWindow(form, new ResultView(app_.Result()));
  } else if (&form == &app_.Plot()) {
    auto* view = new PlotView(app_);
    view->onReadout = [this](const QString& text) { statusText_->setText(text); };
    view->onExportRequest = [this] { AskExportPicture(); };
    // The user resizes the plot window: the plotter draws again. Sizes the program gives the
    // window while a command runs need no new drawing, the command has just drawn.
    view->onResize = [this] {
      if (eventDepth_ == 0) RunEvent(nullptr, [this] { app_.FormPlot_Form_Resize(); });
    };
    window = new FormWindow(form, view);
  } else {
    Form* target = &form;
    auto* view = new FormView(
        form, [this, target](const std::function<void()>& event) { RunEvent(target, event); });
    window = new FormWindow(form, view);
  }
  window->onCloseRequest = [this, target = &form] {
    RunEvent(nullptr, [this, target] { app_.CloseForm(*target); });
  };
  windows_[&form] = window;
  area_->addSubWindow(window);
  PlaceWindow(window);
  return window;
}

// A new child window takes the first place, row by row from the top left, where it covers the
// least of the windows that are shown (none at all, where there is room).
void MDIForm1::PlaceWindow(FormWindow* window) {
  window->resize(window->sizeHint());
  QSize size = window->size();
  QSize room = area_->viewport()->size();
  std::vector<QRect> taken;
  for (QMdiSubWindow* other : area_->subWindowList()) {
    if (other != window && !other->isHidden()) taken.push_back(other->geometry());
  }
  QPoint best(0, 0);
  long long leastCovered = -1;
  for (int y = 0; y == 0 || y + size.height() <= room.height(); y += kPlacementStep) {
    for (int x = 0; x == 0 || x + size.width() <= room.width(); x += kPlacementStep) {
      QRect place(QPoint(x, y), size);
      long long covered = 0;
      for (const QRect& other : taken) {
        QRect common = other.intersected(place);
        covered += static_cast<long long>(common.width()) * common.height();
      }
      if (leastCovered < 0 || covered < leastCovered) {
        leastCovered = covered;
        best = place.topLeft();
      }
      if (covered == 0) {
        window->move(best);
        return;
      }
    }
  }
  window->move(best);
}

// A window that grew past the right or bottom edge of the area moves back in, as far as the
// area's top left corner allows.
void MDIForm1::KeepInside(FormWindow* window) {
  QSize room = area_->viewport()->size();
  QRect place = window->geometry();
  int x = std::max(0, std::min(place.x(), room.width() - place.width()));
  int y = std::max(0, std::min(place.y(), room.height() - place.height()));
  if (x != place.x() || y != place.y()) window->move(x, y);
}

void MDIForm1::OnSubWindowActivated(QMdiSubWindow* window) {
  // Activations while an event runs come from the program showing and hiding windows, and the
  // application already knows its active window then.
  if (window == nullptr || eventDepth_ > 0) return;
  auto* formWindow = dynamic_cast<FormWindow*>(window);
  if (formWindow == nullptr || app_.ActiveForm() == &formWindow->form()) return;
  Form* form = &formWindow->form();
  RunEvent(nullptr, [this, form] { app_.ActivateForm(*form); });
}

void MDIForm1::OnFormDiscarded(Form& form) {
  FormWindow* window = WindowOf(form);
  if (window == nullptr) return;
  windows_.erase(&form);
  window->content().Detach();
  window->hide();
  area_->removeSubWindow(window);
  window->deleteLater();
}

PlotView* MDIForm1::Plot() const {
  FormWindow* window = WindowOf(app_.Plot());
  return window == nullptr ? nullptr : dynamic_cast<PlotView*>(window->widget());
}

void MDIForm1::closeEvent(QCloseEvent* event) {
  if (Running()) {
    // The computation stops at its next poll; the window closes when it has.
    closeAfterRun_ = true;
    CancelRun();
    event->ignore();
    return;
  }
  if (app_.HasUnsavedWork() &&
      !app_.platform().Confirm("The work since the session was last saved will be lost. Quit "
                               "all the same?")) {
    app_.KeepRunning();
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void MDIForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && eventDepth_ == 0) {
    RunEvent(nullptr, [this] { app_.ActivateMainWindow(); });
  }
}

}  // namespace qalto
