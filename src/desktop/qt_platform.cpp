#include "desktop/qt_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QThread>
#include <QTime>
#include <QUrl>

#include "desktop/display_list_painter.h"
#include "desktop/file_filter.h"
#include "drawing/svg_writer.h"
#include "forms/about_form.h"

namespace qalto {
namespace {

constexpr int kDefaultPictureWidth = 640;   // px
constexpr int kDefaultPictureHeight = 480;  // px

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), text.size());
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

// A page-sized picture keeps the proportions of the plot window, as wide as the printable area
// allows.
QRectF PictureOnPage(const QRectF& page, const QSize& picture) {
  double aspect = static_cast<double>(picture.height()) / picture.width();
  double width = page.width();
  double height = width * aspect;
  if (height > page.height()) {
    height = page.height();
    width = height / aspect;
  }
  return QRectF(page.left(), page.top(), width, height);
}

bool OnWindowThread() {
  return QCoreApplication::instance() == nullptr ||
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// The first extension of a filter list ("Parameter (*.par)|*.par" gives ".par"), or empty.
QString FirstExtension(const std::string& filter) {
  QString text = FromUtf8(filter);
  int star = text.indexOf("*.");
  if (star < 0) return QString();
  int end = star + 2;
  while (end < text.size() && (text[end].isLetterOrNumber() || text[end] == '_'))
    ++end;
  return end > star + 2 ? text.mid(star + 1, end - star - 1) : QString();
}

constexpr const char* kFolderKey = "dialogs/folder";
constexpr const char* kRecentKey = "dialogs/recent";

}  // namespace

void QtPlatform::MessageBox(const std::string& text) {
  if (!OnWindowThread()) {
    // A background run waits until the user has read the message on the window's thread.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [this, text] { MessageBox(text); },
        Qt::BlockingQueuedConnection);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, kAppTitle, FromUtf8(text), QMessageBox::Ok, window_);
  box.exec();
}

bool QtPlatform::Confirm(const std::string& question) {
  if (HasConfirmAnswer()) return RecordingPlatform::Confirm(question);
  if (!OnWindowThread()) {
    // A background command (an Open Session) asks on the window's thread and waits.
    bool answer = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { answer = Confirm(question); },
        Qt::BlockingQueuedConnection);
    return answer;
  }
  QMessageBox box(QMessageBox::Question, kAppTitle, FromUtf8(question),
                  QMessageBox::Yes | QMessageBox::No, window_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtPlatform::LastFolder() const {
  QString folder = QSettings().value(kFolderKey).toString();
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::currentPath();
  return folder;
}

QStringList QtPlatform::RecentFiles() const {
  return QSettings().value(kRecentKey).toStringList();
}

void QtPlatform::AddRecentFile(const QString& path) {
  QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList recent = RecentFiles();
  recent.removeAll(absolute);
  recent.prepend(absolute);
  while (recent.size() > kRecentFiles)
    recent.removeLast();
  QSettings().setValue(kRecentKey, recent);
  if (recentFilesChanged) recentFilesChanged();
}

void QtPlatform::RememberFolder(const QString& path) {
  QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

QString QtPlatform::AskOpenPath(const QString& title, const QString& filter) {
  QString path = QFileDialog::getOpenFileName(window_, title, LastFolder(), filter);
  if (path.isEmpty()) return path;
  // What was opened can be opened again from the list.
  RememberFolder(path);
  AddRecentFile(path);
  return path;
}

QString QtPlatform::AskSavePath(const QString& title, const QString& filter,
                                const QString& extension) {
  QString name = suggestedName_ ? suggestedName_() : QString("qalto");
  QString suggestion = QDir(LastFolder()).filePath(name + extension);
  QString path = QFileDialog::getSaveFileName(window_, title, suggestion, filter);
  if (!path.isEmpty()) RememberFolder(path);
  return path;
}

std::optional<std::string> QtPlatform::OpenFileDialog(const std::string& filter) {
  if (HasDialogAnswer()) return RecordingPlatform::OpenFileDialog(filter);
  if (!OnWindowThread()) {
    // A background command (an import) asks on the window's thread and waits for the answer.
    std::optional<std::string> answer;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { answer = OpenFileDialog(filter); },
        Qt::BlockingQueuedConnection);
    return answer;
  }
  return Chosen(AskOpenPath("Open", QtFileFilter(filter)));
}

std::optional<std::string> QtPlatform::SaveFileDialog(const std::string& filter) {
  if (HasDialogAnswer()) return RecordingPlatform::SaveFileDialog(filter);
  if (!OnWindowThread()) {
    std::optional<std::string> answer;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { answer = SaveFileDialog(filter); },
        Qt::BlockingQueuedConnection);
    return answer;
  }
  return Chosen(AskSavePath("Save As", QtFileFilter(filter), FirstExtension(filter)));
}

double QtPlatform::TimeOfDay() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtPlatform::SetBusy(bool busy) {
  // A background run shows its progress bar instead of the busy pointer.
  if (!OnWindowThread() || busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The command runs on without returning to the event loop: the new pointer has to reach
    // the display now. Only the window system's own events are handled here, never the user's.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtPlatform::OpenBrowser(const std::string& address) {
  QString text = FromUtf8(address);
  QUrl url =
      text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
  // On this desktop the browser is started by xdg-open, which picks the user's browser.
  if (!QDesktopServices::openUrl(url)) {
    MessageBox("The web browser could not be started for " + address + ".");
  }
}

QSize QtPlatform::PictureSize() const {
  QSize size = pictureSize_ ? pictureSize_() : QSize();
  if (size.width() <= 0 || size.height() <= 0) {
    return QSize(kDefaultPictureWidth, kDefaultPictureHeight);
  }
  return size;
}

void QtPlatform::PaintPlot(QPainter& painter, const RecordingSurface& picture, QSize size) const {
  if (plotPainter_ && plotPainter_(painter, size)) return;
  PaintDisplayList(painter, picture, size.width(), size.height(), Qt::black);
}

void QtPlatform::CopyPicture(const RecordingSurface& picture) {
  QSize size = PictureSize();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintPlot(painter, picture, size);
  }
  // The picture goes on the clipboard as an image and, for programs that take drawings, as SVG.
  QByteArray svg;
  {
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (painter.begin(&generator)) {
      PaintPlot(painter, picture, size);
      painter.end();
    }
  }
  auto* data = new QMimeData;
  data->setImageData(image);
  data->setData("image/svg+xml", svg);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setMimeData(data);
}

void QtPlatform::PrintPicture(const RecordingSurface& picture) {
  QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
  QPrinter printer(QPrinter::HighResolution);
  lastPdf_.clear();
  if (printerInfo.isNull()) {
    // No printer on this machine: the page goes to a PDF file instead.
    QString folder = pdfFolder_;
    if (folder.isEmpty())
      folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QDir().mkpath(folder);
    lastPdf_ = QDir(folder).filePath("qalto-plot.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(lastPdf_);
  } else {
    printer.setPrinterName(printerInfo.printerName());
  }
  QSize size = PictureSize();
  printer.setPageOrientation(size.width() > size.height() ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) {
    MessageBox("The plot could not be printed.");
    return;
  }
  QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  QRectF area = PictureOnPage(QRectF(0, 0, page.width(), page.height()), size);
  painter.save();
  painter.translate(area.topLeft());
  // The picture of the window's size, scaled onto the page: fonts and lines keep their weight.
  painter.scale(area.width() / size.width(), area.height() / size.height());
  PaintPlot(painter, picture, size);
  painter.restore();
  painter.end();
  if (!lastPdf_.isEmpty()) {
    MessageBox("No printer is set up on this machine; the plot was written to " +
               lastPdf_.toStdString() + ".");
  }
}

}  // namespace qalto
