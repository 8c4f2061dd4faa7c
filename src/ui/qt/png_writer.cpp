#include "ui/qt/png_writer.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include "ui/qt/display_list_painter.h"

namespace qalto {
namespace {

// Text needs a GUI application; a program without windows gets one on the offscreen platform.
bool EnsureGuiApplication() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) return true;
  if (QCoreApplication::instance() != nullptr) return false;  // a console application: no fonts
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

bool WritePng(const RecordingSurface& surface, const std::string& path, int width, int height) {
  if (width <= 0 || height <= 0 || !EnsureGuiApplication()) return false;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return false;
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintDisplayList(painter, surface, width, height, Qt::black);
  }
  return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace qalto
