#include "desktop/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace qalto {
namespace {

constexpr double kLoopPoints = 64;

// The current of a reversible couple along the forward and the return sweep, in icon units:
// a peak on each sweep, the return one below the axis.
QPainterPath Voltammogram(double size) {
  QPainterPath path;
  for (int i = 0; i <= 2 * kLoopPoints; ++i) {
    bool forward = i <= kLoopPoints;
    double t = forward ? i / kLoopPoints : 2 - i / kLoopPoints;  // 0..1 across the potential
    double peak = std::exp(-std::pow((t - (forward ? 0.55 : 0.45)) * 6, 2));
    double tail = forward ? 0.35 * std::max(0.0, t - 0.55) : -0.35 * std::max(0.0, 0.45 - t);
    double current = forward ? peak + tail : -(0.8 * peak) + tail;
    QPointF point(size * (0.12 + 0.76 * t), size * (0.5 - 0.32 * current));
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  return path;
}

QPixmap Picture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  double pen = std::max(1.0, size / 16.0);
  painter.setPen(QPen(QColor(60, 60, 60), pen / 2));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(pen / 2, pen / 2, size - pen, size - pen), size / 8.0, size / 8.0);
  painter.setPen(QPen(QColor(20, 70, 160), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(Voltammogram(size));
  return pixmap;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(Picture(size));
  return icon;
}

}  // namespace qalto
