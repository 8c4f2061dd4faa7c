#pragma once
// The machine as the desktop window sees it: Qt's message boxes with an OK button, file
// dialogs, the wait cursor, the clock, the desktop's web browser, the clipboard and the printer.
// The file dialogs start in the folder used last and suggest a file name; the files opened and
// saved make the recent-files list, kept between runs. A session being opened answers the
// dialogs it asks for itself, as a script does; message boxes asked for by a background run
// are shown by the window's thread.

#include <QPainter>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "ui/recording_platform.h"

namespace qalto {

class QtPlatform : public RecordingPlatform {
 public:
  static constexpr int kRecentFiles = 8;

  // The window that owns the dialogs (the main window).
  void SetWindow(QWidget* window) { window_ = window; }
  // The size the plot window shows its drawing at, for the clipboard picture and the aspect of
  // the printed page; without it the pictures are 640 x 480.
  void SetPictureSize(std::function<QSize()> pictureSize) { pictureSize_ = std::move(pictureSize); }
  // Paints the plot as its window shows it, at a size; false when there is no plot window. The
  // clipboard and the printer then get the same picture as the window and its picture files.
  using PlotPainter = std::function<bool(QPainter&, QSize)>;
  void SetPlotPainter(PlotPainter painter) { plotPainter_ = std::move(painter); }
  // Where the plot goes as a PDF file when the machine has no printer (default: the user's
  // documents folder).
  void SetPdfFolder(QString folder) { pdfFolder_ = std::move(folder); }
  // The PDF file the last print went to, empty when it went to a printer.
  const QString& LastPdf() const { return lastPdf_; }
  // The base name (without extension) a save dialog suggests.
  void SetSuggestedName(std::function<QString()> name) { suggestedName_ = std::move(name); }

  // The folder the next dialog starts in: the one of the file chosen last.
  QString LastFolder() const;
  // Files opened (data and sessions) and sessions saved, newest first.
  QStringList RecentFiles() const;
  void AddRecentFile(const QString& path);
  // Called after the recent-files list changed.
  std::function<void()> recentFilesChanged;
  // The dialogs of the window's own file commands (sessions, pictures): the path, or empty.
  QString AskOpenPath(const QString& title, const QString& filter);
  QString AskSavePath(const QString& title, const QString& filter, const QString& extension);

  void MessageBox(const std::string& text) override;
  bool Confirm(const std::string& question) override;
  std::optional<std::string> OpenFileDialog(const std::string& filter) override;
  std::optional<std::string> SaveFileDialog(const std::string& filter) override;
  double TimeOfDay() override;
  void SetBusy(bool busy) override;
  void OpenBrowser(const std::string& address) override;
  void CopyPicture(const RecordingSurface& picture) override;
  void PrintPicture(const RecordingSurface& picture) override;

 private:
  QSize PictureSize() const;
  // Paints the plot window's picture, or the plotter's drawing where there is no plot window.
  void PaintPlot(QPainter& painter, const RecordingSurface& picture, QSize size) const;
  void RememberFolder(const QString& path);
  std::function<QString()> suggestedName_;

  QWidget* window_ = nullptr;
  std::function<QSize()> pictureSize_;
  PlotPainter plotPainter_;
  QString pdfFolder_;
  QString lastPdf_;
  bool busy_ = false;
};

}  // namespace qalto
