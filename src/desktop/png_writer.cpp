#include "desktop/png_writer.h"

#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include "common/file_replacement.h"
#include "desktop/display_list_painter.h"

namespace qalto {
namespace {

// Qt keeps per-user runtime files in XDG_RUNTIME_DIR and warns on every run when it is not set;
// a program started outside a desktop session gets a private folder in the temporary folder.
void EnsureRuntimeFolder() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  QString folder = QDir::tempPath() + "/runtime-qalto-" + QString::number(getuid());
  if (!QDir().mkpath(folder)) return;
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

// Text needs a GUI application; a program without windows gets one on the offscreen platform.
bool EnsureGuiApplication() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) return true;
  if (QCoreApplication::instance() != nullptr) return false;  // a console application: no fonts
  EnsureRuntimeFolder();
  static int argc = 3;
  static char name[] = "qalto";
  static char platformOption[] = "-platform";
  static char platformName[] = "offscreen";
  static char* argv[] = {name, platformOption, platformName, nullptr};
  // Never deleted: Qt's font and platform state must outlive every later picture.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  return application != nullptr;
}

}  // namespace

bool WritePng(const std::vector<DisplayItem>& items, const std::string& path, int width, int height,
              std::string* reason) {
  if (width <= 0 || height <= 0 || !EnsureGuiApplication()) return false;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return false;
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintDisplayList(painter, items, width, height, Qt::black);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return false;
  try {
    ReplaceFile(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return true;
  } catch (const RuntimeError& error) {
    if (reason != nullptr) *reason = error.Description();
    return false;
  }
}

}  // namespace qalto
