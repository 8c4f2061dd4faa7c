// The main window's file commands of its own: sessions, picture export and the recent files.

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <sstream>

#include "app/script_runner.h"
#include "app/session_script.h"
#include "common/file_replacement.h"
#include "desktop/mdi_form1.h"
#include "desktop/plot_view.h"
#include "desktop/qt_platform.h"

namespace qalto {
namespace {

constexpr int kLargestPicture = 20000;  // px per side of an exported picture

const char* const kPictureFilter = "SVG picture (*.svg);;PNG picture (*.png);;PDF document (*.pdf)";

}  // namespace

// The window's own file commands go into the File menu around the program's: sessions at the
// top, the picture export after the data export, the recent files before Exit.
void MDIForm1::AddFileCommands() {
  QMenu* file = menuBar()->findChild<QMenu*>("mnuFile");
  if (file == nullptr) return;
  QList<QAction*> items = file->actions();
  auto* picture = new QAction("Export Pic&ture...", file);
  picture->setObjectName("ExportPicture");
  QObject::connect(picture, &QAction::triggered, this, [this] { AskExportPicture(); });
  QAction* exportData = menus_->Action("mnuExport_Click");
  int at = items.indexOf(exportData);
  file->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, picture);
  recentMenu_ = new QMenu("&Recent Files", file);
  recentMenu_->setObjectName("RecentFiles");
  QAction* recent = file->insertMenu(menus_->Action("mnuExit_Click"), recentMenu_);
  QAction* recentEnd = file->insertSeparator(menus_->Action("mnuExit_Click"));
  // Marked as the window's own, beside the program's menu tree.
  for (QAction* own : {picture, recent, recentEnd})
    own->setProperty("windowCommand", true);
  QObject::connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentFiles(); });
  if (auto* platform = dynamic_cast<QtPlatform*>(&app_.platform())) {
    platform->SetSuggestedName([this] {
      const std::string& data = app_.DataFile();
      return data.empty() ? QString("qalto")
                          : QFileInfo(QString::fromStdString(data)).completeBaseName();
    });
    platform->recentFilesChanged = [this] { FillRecentFiles(); };
  }
  FillRecentFiles();
}

void MDIForm1::AddShortcuts() {
  const std::pair<const char*, QKeySequence> shortcuts[] = {
      {"mnuOpenSession_Click", QKeySequence::Open},
      {"mnuSaveSession_Click", QKeySequence::Save},
      {"mnuSimulate_Click", QKeySequence(Qt::CTRL | Qt::Key_R)},
      {"mnuManual_Click", QKeySequence::HelpContents},
      {"mnuImport_Click", QKeySequence(Qt::CTRL | Qt::Key_I)},
      {"mnuExport_Click", QKeySequence(Qt::CTRL | Qt::Key_E)},
      {"mnuPrint_Click", QKeySequence::Print},
      {"mnuExit_Click", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {"mnuUndo_Click", QKeySequence::Undo},
      {"mnuPlot_Click", QKeySequence(Qt::Key_F5)},
  };
  for (const auto& [handler, keys] : shortcuts) {
    if (QAction* action = menus_->Action(handler)) action->setShortcut(keys);
  }
}

void MDIForm1::FillRecentFiles() {
  if (recentMenu_ == nullptr) return;
  recentMenu_->clear();
  auto* platform = dynamic_cast<QtPlatform*>(&app_.platform());
  QStringList recent = platform == nullptr ? QStringList() : platform->RecentFiles();
  for (int i = 0; i < recent.size(); ++i) {
    QString path = recent[i];
    QString text = QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName());
    QAction* action = recentMenu_->addAction(text);
    QObject::connect(action, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    action->setToolTip(path);
    action->setStatusTip(path);
  }
  recentMenu_->setEnabled(!recent.isEmpty());
}

// A session is opened again (after asking about unsaved work), any other file is imported as
// data, each in the background as the menu's command.
void MDIForm1::OpenRecent(const QString& path) {
  const bool session = path.endsWith(".qs", Qt::CaseInsensitive);
  const std::string handler = session ? "mnuOpenSession_Click" : "mnuImport_Click";
  if (!app_.MenuEnabled(handler)) return;
  if (auto* platform = dynamic_cast<RecordingPlatform*>(&app_.platform()))
    platform->QueueDialogAnswer(path.toStdString());
  ChooseMenu(handler, session ? "&Open Session..." : "&Import Data...");
}

bool MDIForm1::SaveSession(const QString& path) {
  bool saved = false;
  RunEvent(nullptr, [&] { saved = app_.SaveSessionTo(path.toStdString()); });
  return saved;
}

bool MDIForm1::OpenSession(const QString& path) {
  bool opened = false;
  RunEvent(nullptr, [&] { opened = app_.OpenSessionFrom(path.toStdString()); });
  return opened;
}

// The windows' places go into a session and come back from one; the status bar says where.
void MDIForm1::ConnectSessions() {
  app_.sessionSaving = [this] {
    app_.WindowPlaces().clear();
    for (const auto& [form, window] : windows_) {
      QRect place = window->geometry();
      app_.WindowPlaces()[form->Name()] = {place.x(), place.y(), place.width(), place.height()};
    }
  };
  auto* platform = dynamic_cast<QtPlatform*>(&app_.platform());
  app_.sessionSaved = [this, platform](const std::string& path) {
    QString file = QString::fromStdString(path);
    if (platform != nullptr) platform->AddRecentFile(file);
    statusText_->setText("Session saved to " + file);
  };
  // A session opened through the file dialog is in the recent files already.
  // A session opened in the background is told when its run ends.
  app_.sessionOpened = [this](const std::string& path) {
    QString text = "Session opened from " + QString::fromStdString(path);
    if (BackgroundRun::Active()) {
      runStatus_ = text;
    } else {
      statusText_->setText(text);
    }
    placesPending_ = true;
  };
}

void MDIForm1::PlaceSessionWindows() {
  if (!placesPending_) return;
  placesPending_ = false;
  for (const auto& [form, window] : windows_) {
    auto place = app_.WindowPlaces().find(form->Name());
    if (place == app_.WindowPlaces().end()) continue;
    const WindowPlace& p = place->second;
    if (p.width > 0 && p.height > 0) window->setGeometry(p.x, p.y, p.width, p.height);
  }
}

bool MDIForm1::ExportPicture(const QString& path, QSize size) {
  PlotView* plot = Plot();
  if (plot == nullptr || plot->Data().Empty()) {
    app_.platform().MessageBox("There is no plot to export yet.");
    return false;
  }
  QByteArray bytes = plot->PictureBytes(path, size);
  if (bytes.isEmpty()) {
    app_.platform().MessageBox("The picture could not be drawn as " + path.toStdString() +
                               " (a name ending in .svg, .png or .pdf).");
    return false;
  }
  try {
    ReplaceFile(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
  } catch (const RuntimeError& error) {
    app_.platform().MessageBox(FileWriteMessage("Export Picture Error", path.toStdString(), error));
    return false;
  }
  statusText_->setText(
      QString("Picture written to %1 (%2 x %3)").arg(path).arg(size.width()).arg(size.height()));
  return true;
}

// The size first (the plot window's own size is proposed), then the file; its extension picks
// the format.
void MDIForm1::AskExportPicture() {
  auto* platform = dynamic_cast<QtPlatform*>(&app_.platform());
  PlotView* plot = Plot();
  if (platform == nullptr || Running()) return;
  if (plot == nullptr || plot->Data().Empty()) {
    app_.platform().MessageBox("There is no plot to export yet.");
    return;
  }
  QDialog dialog(this);
  dialog.setWindowTitle("Export Picture");
  auto* layout = new QFormLayout(&dialog);
  auto* width = new QSpinBox(&dialog);
  auto* height = new QSpinBox(&dialog);
  width->setRange(16, kLargestPicture);
  height->setRange(16, kLargestPicture);
  width->setSuffix(" px");
  height->setSuffix(" px");
  width->setValue(plot->width());
  height->setValue(plot->height());
  layout->addRow("&Width:", width);
  layout->addRow("&Height:", height);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  QString path = platform->AskSavePath("Export Picture", kPictureFilter, ".svg");
  if (!path.isEmpty()) ExportPicture(path, QSize(width->value(), height->value()));
}

}  // namespace qalto
