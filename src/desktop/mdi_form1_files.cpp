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

const char* const kSessionFilter = "Qalto session (*.qs);;All files (*)";
const char* const kPictureFilter = "SVG picture (*.svg);;PNG picture (*.png);;PDF document (*.pdf)";

}  // namespace

// The window's own file commands go into the File menu around the program's: sessions at the
// top, the picture export after the data export, the recent files before Exit.
void MDIForm1::AddFileCommands() {
  QMenu* file = menuBar()->findChild<QMenu*>("mnuFile");
  if (file == nullptr) return;
  QList<QAction*> items = file->actions();
  QAction* first = items.isEmpty() ? nullptr : items.front();
  auto* open = new QAction("&Open Session...", file);
  open->setObjectName("OpenSession");
  open->setShortcut(QKeySequence::Open);
  QObject::connect(open, &QAction::triggered, this, [this] { AskOpenSession(); });
  auto* save = new QAction("Save Sessio&n...", file);
  save->setObjectName("SaveSession");
  save->setShortcut(QKeySequence::Save);
  QObject::connect(save, &QAction::triggered, this, [this] { AskSaveSession(); });
  file->insertAction(first, open);
  file->insertAction(first, save);
  QAction* sessionEnd = file->insertSeparator(first);
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
  for (QAction* own : {open, save, sessionEnd, picture, recent, recentEnd})
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

// A session is opened again; any other file is imported as data.
void MDIForm1::OpenRecent(const QString& path) {
  if (path.endsWith(".qs", Qt::CaseInsensitive)) {
    OpenSession(path);
    return;
  }
  if (!app_.MenuEnabled("mnuImport_Click")) return;
  if (auto* platform = dynamic_cast<RecordingPlatform*>(&app_.platform()))
    platform->QueueDialogAnswer(path.toStdString());
  ChooseMenu("mnuImport_Click", "&Import Data...");
}

bool MDIForm1::SaveSession(const QString& path) {
  std::string script;
  RunEvent(nullptr, [&] { script = SessionScript(app_); });
  try {
    // Written whole beside the target and renamed over it: a failed save keeps the old session.
    ReplaceFile(path.toStdString(), script);
  } catch (const RuntimeError& error) {
    app_.platform().MessageBox(FileWriteMessage("Save Session Error", path.toStdString(), error));
    return false;
  }
  if (auto* platform = dynamic_cast<QtPlatform*>(&app_.platform())) platform->AddRecentFile(path);
  statusText_->setText("Session saved to " + path);
  return true;
}

bool MDIForm1::OpenSession(const QString& path) {
  auto* platform = dynamic_cast<RecordingPlatform*>(&app_.platform());
  QFile file(path);
  if (platform == nullptr || !file.open(QIODevice::ReadOnly)) {
    app_.platform().MessageBox("The session " + path.toStdString() + " could not be read.");
    return false;
  }
  std::istringstream script(file.readAll().toStdString());
  std::ostringstream out;
  std::ostringstream err;
  int status = 0;
  RunEvent(nullptr, [&] {
    // The session's curve goes into the first slot, as in a program just started, instead of
    // beside the curves overlaid so far; the session's own display options set the overlap.
    app_.Option().overlap.SetChecked(false);
    auto sink = platform->messageSink;
    ScriptRunner runner(app_, *platform, out);
    status = runner.Run(script, err);
    platform->messageSink = sink;
  });
  if (status != 0) {
    std::string reason = err.str();
    while (!reason.empty() && reason.back() == '\n')
      reason.pop_back();
    app_.platform().MessageBox("The session " + path.toStdString() + " stopped at " + reason + ".");
    return false;
  }
  statusText_->setText("Session opened from " + path);
  return true;
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

void MDIForm1::AskSaveSession() {
  auto* platform = dynamic_cast<QtPlatform*>(&app_.platform());
  if (platform == nullptr || Running()) return;
  QString path = platform->AskSavePath("Save Session", kSessionFilter, ".qs");
  if (!path.isEmpty()) SaveSession(path);
}

void MDIForm1::AskOpenSession() {
  auto* platform = dynamic_cast<QtPlatform*>(&app_.platform());
  if (platform == nullptr || Running()) return;
  QString path = platform->AskOpenPath("Open Session", kSessionFilter);
  if (!path.isEmpty()) OpenSession(path);
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
