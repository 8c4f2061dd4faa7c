#include "desktop/plot_chart.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

namespace qalto {
namespace {

constexpr int kFontPixels = 13;          // label size, px
constexpr double kLineWidth = 1.6;       // curve pens, px
constexpr double kMarkerRadius = 3.2;    // px
constexpr double kResidualShare = 0.22;  // of the height, for the residual's strip
constexpr int kTicks = 6;

// Okabe and Ito's palette: eight colours that stay apart for colour-blind eyes and in grey print.
const QColor kPalette[] = {QColor(0x00, 0x72, 0xB2), QColor(0xD5, 0x5E, 0x00),
                           QColor(0x00, 0x9E, 0x73), QColor(0xCC, 0x79, 0xA7),
                           QColor(0xE6, 0x9F, 0x00), QColor(0x56, 0xB4, 0xE9),
                           QColor(0x00, 0x00, 0x00), QColor(0x88, 0x22, 0x55)};
const Qt::PenStyle kLineStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};

QFont LabelFont() {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Arial", "Helvetica"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kFontPixels);
  return font;
}

// The SI prefix that writes values up to big with one to three digits before the point.
void PrefixFor(double big, double& scale, QString& prefix) {
  static const struct {
    double scale;
    const char* prefix;
  } kPrefixes[] = {{1e-15, "f"}, {1e-12, "p"}, {1e-9, "n"}, {1e-6, "µ"},
                   {1e-3, "m"},  {1, ""},      {1e3, "k"},  {1e6, "M"}};
  scale = 1;
  prefix.clear();
  if (!(big > 0) || !std::isfinite(big)) return;
  for (const auto& p : kPrefixes) {
    if (big >= p.scale * 0.9999) {
      scale = p.scale;
      prefix = QString::fromUtf8(p.prefix);
    }
  }
}

QString Number(double value, double step) {
  int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
  if (std::fabs(value) < step * 1e-6) value = 0;
  return QString::number(value, 'f', std::min(decimals, 6));
}

void DrawMarker(QPainter& painter, QPointF centre, int shape) {
  double r = kMarkerRadius;
  switch (shape % 4) {
    case 0:
      painter.drawEllipse(centre, r, r);
      break;
    case 1:
      painter.drawRect(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
      break;
    case 2: {
      QPointF tri[] = {centre + QPointF(0, -r * 1.2), centre + QPointF(r * 1.1, r * 0.8),
                       centre + QPointF(-r * 1.1, r * 0.8)};
      painter.drawPolygon(tri, 3);
      break;
    }
    default: {
      QPointF diamond[] = {centre + QPointF(0, -r * 1.3), centre + QPointF(r * 1.3, 0),
                           centre + QPointF(0, r * 1.3), centre + QPointF(-r * 1.3, 0)};
      painter.drawPolygon(diamond, 4);
      break;
    }
  }
}

}  // namespace

QColor CurveColour(int slot) {
  if (slot <= 0) return QColor(0x55, 0x55, 0x55);
  return kPalette[(slot - 1) % 8];
}

std::vector<double> NiceTicks(double min, double max, int count) {
  std::vector<double> ticks;
  double span = max - min;
  if (!(span > 0) || !std::isfinite(span) || count < 1) return ticks;
  double raw = span / count;
  double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    step = factor * power;
    if (step >= raw) break;
  }
  for (double t = std::ceil(min / step - 1e-9) * step; t <= max + step * 1e-9; t += step)
    ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
  return ticks;
}

PlotChart::PlotChart(const ChartData& data, const ChartRange& view, QSizeF size)
    : data_(data), view_(view), size_(size) {
  PrefixFor(std::max(std::fabs(view_.yMin), std::fabs(view_.yMax)), yScale_, yPrefix_);
  QFontMetricsF metrics(LabelFont());
  double left = metrics.horizontalAdvance("-888.88") + metrics.height() + 14;
  double top = metrics.height() * 0.8 + 6;
  double bottom = metrics.height() * 2 + 14;
  double right = 16;
  QRectF all(left, top, std::max(10.0, size.width() - left - right),
             std::max(10.0, size.height() - top - bottom));
  if (data_.residual) {
    double strip = all.height() * kResidualShare;
    plotArea_ = QRectF(all.left(), all.top(), all.width(), all.height() - strip - 8);
    residualArea_ = QRectF(all.left(), all.bottom() - strip, all.width(), strip);
    double big = 0;
    for (const QPointF& p : data_.residual->points)
      big = std::max(big, std::fabs(p.y()));
    if (!(big > 0)) big = std::max(std::fabs(view_.yMax - view_.yMin) * 0.01, 1e-30);
    residualRange_ = {view_.xMin, view_.xMax, -1.1 * big, 1.1 * big};
  } else {
    plotArea_ = all;
  }
}

QPointF PlotChart::Map(QPointF value, const QRectF& area, const ChartRange& range) const {
  double fx = (value.x() - range.xMin) / (range.xMax - range.xMin);
  if (data_.xReversed) fx = 1 - fx;
  double fy = (value.y() - range.yMin) / (range.yMax - range.yMin);
  return QPointF(area.left() + fx * area.width(), area.bottom() - fy * area.height());
}

QPointF PlotChart::ToPixel(QPointF value) const {
  return Map(value, plotArea_, view_);
}

QPointF PlotChart::ToValue(QPointF pixel) const {
  double fx = (pixel.x() - plotArea_.left()) / plotArea_.width();
  if (data_.xReversed) fx = 1 - fx;
  double fy = (plotArea_.bottom() - pixel.y()) / plotArea_.height();
  return QPointF(view_.xMin + fx * (view_.xMax - view_.xMin),
                 view_.yMin + fy * (view_.yMax - view_.yMin));
}

std::optional<NearestPoint> PlotChart::Nearest(QPointF pixel) const {
  std::optional<NearestPoint> best;
  for (const ChartCurve& curve : data_.curves) {
    for (size_t i = 0; i < curve.points.size(); ++i) {
      QPointF p = ToPixel(curve.points[i]);
      double d = std::hypot(p.x() - pixel.x(), p.y() - pixel.y());
      if (!best || d < best->pixels)
        best = NearestPoint{curve.name, static_cast<int>(i), curve.points[i], d};
    }
  }
  return best;
}

QString PlotChart::YTitle() const {
  return data_.yQuantity + " / " + yPrefix_ + data_.yUnit;
}

QString PlotChart::Readout(QPointF pixel) const {
  QPointF value = ToValue(pixel);
  QString unit = yPrefix_ + data_.yUnit;
  // The x axis's quantity and unit, from its title "E / V", "t / s", "f / Hz" or "Z' / Ohm";
  // potentials to the tenth of a millivolt, the others to five digits.
  const QString xQuantity = data_.xTitle.section(" / ", 0, 0);
  const QString xUnit = data_.xTitle.section(" / ", 1);
  auto x = [&](double v) {
    return xUnit == "V" ? QString::number(v, 'f', 4) : QString::number(v, 'g', 5);
  };
  QString text = QString("%1 = %2 %3   %4 = %5 %6")
                     .arg(xQuantity, x(value.x()), xUnit, data_.yQuantity)
                     .arg(value.y() / yScale_, 0, 'g', 4)
                     .arg(unit);
  if (std::optional<NearestPoint> near = Nearest(pixel)) {
    text += QString("   nearest: %1 point %2 (%3 %4, %5 %6)")
                .arg(near->curve)
                .arg(near->index + 1)
                .arg(x(near->value.x()), xUnit)
                .arg(near->value.y() / yScale_, 0, 'g', 4)
                .arg(unit);
  }
  return text;
}

void PlotChart::Paint(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setFont(LabelFont());
  painter.fillRect(QRectF(QPointF(0, 0), size_), Qt::white);
  PaintAxes(painter);
  painter.save();
  painter.setClipRect(plotArea_);
  for (const ChartCurve& curve : data_.curves)
    PaintCurve(painter, curve, plotArea_, view_);
  painter.restore();
  if (data_.residual) PaintResidual(painter);
  PaintLegend(painter);
  painter.restore();
}

void PlotChart::PaintAxes(QPainter& painter) const {
  QFontMetricsF metrics(painter.font());
  QPen frame(Qt::black, 1.0);
  QPen grid(QColor(0xDD, 0xDD, 0xDD), 1.0);
  std::vector<double> xTicks = NiceTicks(view_.xMin, view_.xMax, kTicks + 2);
  std::vector<double> yTicks = NiceTicks(view_.yMin, view_.yMax, kTicks);
  double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1;
  double yStep = yTicks.size() > 1 ? (yTicks[1] - yTicks[0]) / yScale_ : 1;
  QRectF frameArea = residualArea_.isEmpty() ? plotArea_ : plotArea_.united(residualArea_);
  for (double x : xTicks) {
    double px = ToPixel(QPointF(x, view_.yMin)).x();
    if (data_.grid) {
      painter.setPen(grid);
      painter.drawLine(QPointF(px, plotArea_.top()), QPointF(px, plotArea_.bottom()));
    }
    painter.setPen(frame);
    painter.drawLine(QPointF(px, frameArea.bottom()), QPointF(px, frameArea.bottom() - 5));
    QString label = Number(x, xStep);
    double w = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(px - w / 2, frameArea.bottom() + metrics.ascent() + 4), label);
  }
  for (double y : yTicks) {
    double py = ToPixel(QPointF(view_.xMin, y)).y();
    if (data_.grid) {
      painter.setPen(grid);
      painter.drawLine(QPointF(plotArea_.left(), py), QPointF(plotArea_.right(), py));
    }
    painter.setPen(frame);
    painter.drawLine(QPointF(plotArea_.left(), py), QPointF(plotArea_.left() + 5, py));
    QString label = Number(y / yScale_, yStep);
    double w = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(plotArea_.left() - w - 5, py + metrics.ascent() / 2 - 1), label);
  }
  if (view_.yMin < 0 && view_.yMax > 0) {
    double py = ToPixel(QPointF(view_.xMin, 0)).y();
    painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 1.0, Qt::DashLine));
    painter.drawLine(QPointF(plotArea_.left(), py), QPointF(plotArea_.right(), py));
  }
  painter.setPen(frame);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plotArea_);
  double titleWidth = metrics.horizontalAdvance(data_.xTitle);
  painter.drawText(QPointF(frameArea.center().x() - titleWidth / 2,
                           frameArea.bottom() + metrics.height() + metrics.ascent() + 6),
                   data_.xTitle);
  painter.save();
  QString yTitle = YTitle();
  painter.translate(metrics.ascent() + 2,
                    plotArea_.center().y() + metrics.horizontalAdvance(yTitle) / 2);
  painter.rotate(-90);
  painter.drawText(QPointF(0, 0), yTitle);
  painter.restore();
}

void PlotChart::PaintCurve(QPainter& painter, const ChartCurve& curve, const QRectF& area,
                           const ChartRange& range) const {
  QColor colour = CurveColour(curve.slot);
  if (curve.markers) {
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(Qt::NoBrush);
    // Dense data would hide the line under its markers: at most one marker per 3 px.
    size_t stride = 1;
    double width = area.width();
    if (curve.points.size() > width / 3 && width > 0)
      stride = static_cast<size_t>(curve.points.size() / (width / 3)) + 1;
    for (size_t i = 0; i < curve.points.size(); i += stride)
      DrawMarker(painter, Map(curve.points[i], area, range), std::max(0, curve.slot - 1));
    return;
  }
  QPen pen(colour, kLineWidth, kLineStyles[std::max(0, curve.slot - 1) % 4], Qt::RoundCap,
           Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  QPainterPath path;
  for (size_t i = 0; i < curve.points.size(); ++i) {
    QPointF p = Map(curve.points[i], area, range);
    if (i == 0)
      path.moveTo(p);
    else
      path.lineTo(p);
  }
  painter.drawPath(path);
}

void PlotChart::PaintResidual(QPainter& painter) const {
  QFontMetricsF metrics(painter.font());
  painter.setPen(QPen(Qt::black, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(residualArea_);
  double zero = Map(QPointF(view_.xMin, 0), residualArea_, residualRange_).y();
  painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 1.0, Qt::DashLine));
  painter.drawLine(QPointF(residualArea_.left(), zero), QPointF(residualArea_.right(), zero));
  painter.save();
  painter.setClipRect(residualArea_);
  PaintCurve(painter, *data_.residual, residualArea_, residualRange_);
  painter.restore();
  painter.setPen(Qt::black);
  QString top =
      Number(residualRange_.yMax / yScale_, std::fabs(residualRange_.yMax / yScale_) / 10);
  painter.drawText(QPointF(residualArea_.left() - metrics.horizontalAdvance(top) - 5,
                           residualArea_.top() + metrics.ascent()),
                   top);
}

size_t PlotChart::PointsIn(const QRectF& box) const {
  size_t covered = 0;
  for (const ChartCurve& curve : data_.curves) {
    for (const QPointF& point : curve.points)
      covered += box.contains(ToPixel(point)) ? 1 : 0;
  }
  return covered;
}

QRectF PlotChart::LegendBox(QSizeF size) const {
  constexpr double kInset = 8;  // px between the legend and the frame
  const QRectF inside = plotArea_.adjusted(kInset, kInset, -kInset, -kInset);
  const QRectF corners[] = {
      QRectF(QPointF(inside.right() - size.width(), inside.top()), size),  // top right
      QRectF(inside.topLeft(), size),                                      // top left
      QRectF(QPointF(inside.right() - size.width(), inside.bottom() - size.height()), size),
      QRectF(QPointF(inside.left(), inside.bottom() - size.height()), size),  // bottom left
  };
  switch (data_.legend) {
    case LegendPlace::kTopRight:
      return corners[0];
    case LegendPlace::kTopLeft:
      return corners[1];
    case LegendPlace::kBottomRight:
      return corners[2];
    case LegendPlace::kBottomLeft:
      return corners[3];
    default:
      break;
  }
  // The corner that hides the fewest points, the top right one among equals.
  const QRectF* best = &corners[0];
  size_t least = PointsIn(corners[0]);
  for (const QRectF& corner : corners) {
    size_t covered = PointsIn(corner);
    if (covered < least) {
      least = covered;
      best = &corner;
    }
  }
  return *best;
}

void PlotChart::PaintLegend(QPainter& painter) const {
  if (data_.legend == LegendPlace::kHidden) return;
  std::vector<const ChartCurve*> entries;
  for (const ChartCurve& curve : data_.curves)
    entries.push_back(&curve);
  if (data_.residual) entries.push_back(&*data_.residual);
  if (entries.empty()) return;
  QFontMetricsF metrics(painter.font());
  double sample = 28;
  double width = 0;
  for (const ChartCurve* curve : entries)
    width = std::max(width, metrics.horizontalAdvance(curve->name));
  double line = metrics.height() + 2;
  QRectF box = LegendBox(QSizeF(width + sample + 14, line * entries.size() + 8));
  painter.setPen(QPen(QColor(0xAA, 0xAA, 0xAA), 1.0));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(box);
  double y = box.top() + 4 + line / 2;
  for (const ChartCurve* curve : entries) {
    QPointF start(box.left() + 6, y);
    QColor colour = CurveColour(curve->slot);
    if (curve->markers) {
      painter.setPen(QPen(colour, 1.2));
      painter.setBrush(Qt::NoBrush);
      DrawMarker(painter, start + QPointF(sample / 2, 0), std::max(0, curve->slot - 1));
    } else {
      painter.setPen(QPen(colour, kLineWidth, kLineStyles[std::max(0, curve->slot - 1) % 4]));
      painter.drawLine(start, start + QPointF(sample, 0));
    }
    painter.setPen(Qt::black);
    painter.drawText(QPointF(start.x() + sample + 6, y + metrics.ascent() / 2 - 1), curve->name);
    y += line;
  }
}

}  // namespace qalto
