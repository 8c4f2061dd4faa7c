#pragma once
// The machine as the desktop window sees it: Qt's message boxes with an OK button, file
// dialogs, the wait cursor, the clock, the desktop's web browser, the clipboard and the printer.

#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "ui/platform.h"

namespace qalto {

class QtPlatform : public Platform {
 public:
  // The window that owns the dialogs (the main window).
  void SetWindow(QWidget* window) { window_ = window; }
  // The size the plot window shows its drawing at, for the clipboard picture and the aspect of
  // the printed page; without it the pictures are 640 x 480.
  void SetPictureSize(std::function<QSize()> pictureSize) { pictureSize_ = std::move(pictureSize); }
  // Where the plot goes as a PDF file when the machine has no printer (default: the user's
  // documents folder).
  void SetPdfFolder(QString folder) { pdfFolder_ = std::move(folder); }
  // The PDF file the last print went to, empty when it went to a printer.
  const QString& LastPdf() const { return lastPdf_; }

  void MessageBox(const std::string& text) override;
  std::optional<std::string> OpenFileDialog(const std::string& filter) override;
  std::optional<std::string> SaveFileDialog(const std::string& filter) override;
  double TimeOfDay() override;
  void SetBusy(bool busy) override;
  void OpenBrowser(const std::string& address) override;
  void CopyPicture(const RecordingSurface& picture) override;
  void PrintPicture(const RecordingSurface& picture) override;

 private:
  QSize PictureSize() const;

  QWidget* window_ = nullptr;
  std::function<QSize()> pictureSize_;
  QString pdfFolder_;
  QString lastPdf_;
  bool busy_ = false;
};

}  // namespace qalto
