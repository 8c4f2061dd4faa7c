#include "desktop/display_list_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <optional>
#include <vector>

#include "drawing/picture_style.h"

namespace qalto {
namespace {

QTransform TransformOf(const PixelMap& map) {
  return QTransform(map.scaleX, 0.0, 0.0, map.scaleY, -map.originX * map.scaleX,
                    -map.originY * map.scaleY);
}

// Collects the lines and rectangles of one pen style and one coordinate system into a path in
// user coordinates, and the points as pixel squares, and paints them together.
class ListPainter {
 public:
  ListPainter(QPainter& painter, double width, double height, const QColor& foreground)
      : painter_(painter), width_(width), height_(height), style_(PictureStyleFor(width, height)) {
    solidPen_ = QPen(foreground, style_.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    dashedPen_ = solidPen_;
    dashedPen_.setDashPattern(
        {style_.dashLength / style_.lineWidth, style_.dashGap / style_.lineWidth});
    font_.setFamilies({"DejaVu Sans", "Arial", "Helvetica"});
    font_.setStyleHint(QFont::SansSerif);
    font_.setPixelSize(std::max(1, static_cast<int>(style_.fontPixels + 0.5)));
    brush_ = QBrush(foreground);
  }

  void Paint(const std::vector<DisplayItem>& items) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(font_);
    ascent_ = QFontMetricsF(font_, painter_.device()).ascent();
    for (const DisplayItem& item : items)
      Add(item);
    Flush();
    painter_.restore();
  }

 private:
  template <typename Writer>
  friend void qalto::DispatchItem(const DisplayItem& item, Writer& writer);

  void Add(const DisplayItem& item) {
    if (!(item.scale == scale_) || !map_) {
      Flush();
      scale_ = item.scale;
      map_ = PixelMapFor(item.scale, width_, height_);
    }
    if (!map_) return;  // a window with a side of no length shows nothing
    if (item.kind != ItemKind::kPoint && item.kind != ItemKind::kText && item.style != lineStyle_) {
      Flush();
      lineStyle_ = item.style;
    }
    DispatchItem(item, *this);
  }

  void AddPoint(const DisplayItem& item) {
    if (!PointVisible(*map_, width_, height_, item.x1, item.y1)) return;
    QPointF centre = TransformOf(*map_).map(QPointF(item.x1, item.y1));
    double r = style_.pointRadius;
    dots_.push_back(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
  }

  void AddLine(const DisplayItem& item) {
    std::optional<Segment> line =
        VisibleLine(*map_, width_, height_, Segment{item.x1, item.y1, item.x2, item.y2});
    if (!line) return;
    QPointF start(line->x1, line->y1);
    // A line that starts where the path ends continues it, so connected curves get joins.
    if (lines_.elementCount() == 0 || lines_.currentPosition() != start) lines_.moveTo(start);
    lines_.lineTo(line->x2, line->y2);
  }

  void AddRectangle(const DisplayItem& item) {
    std::optional<Segment> box =
        VisibleRectangle(*map_, width_, height_, Segment{item.x1, item.y1, item.x2, item.y2});
    if (!box) return;
    lines_.moveTo(box->x1, box->y1);
    lines_.lineTo(box->x2, box->y1);
    lines_.lineTo(box->x2, box->y2);
    lines_.lineTo(box->x1, box->y2);
    lines_.closeSubpath();
  }

  void AddText(const DisplayItem& item) {
    if (item.text.empty() || !TextVisible(*map_, width_, height_, item.x1, item.y1)) return;
    Flush();
    QPointF corner = TransformOf(*map_).map(QPointF(item.x1, item.y1));
    painter_.setPen(solidPen_);
    painter_.drawText(
        QPointF(corner.x(), corner.y() + ascent_),
        QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
  }

  void Flush() {
    if (!map_) return;
    if (!lines_.isEmpty()) {
      painter_.setPen(lineStyle_ == LineStyle::kDashed ? dashedPen_ : solidPen_);
      painter_.setBrush(Qt::NoBrush);
      painter_.drawPath(TransformOf(*map_).map(lines_));
      lines_ = QPainterPath();
    }
    if (!dots_.empty()) {
      painter_.setPen(Qt::NoPen);
      painter_.setBrush(brush_);
      painter_.drawRects(dots_.data(), static_cast<int>(dots_.size()));
      dots_.clear();
    }
  }

  QPainter& painter_;
  double width_;
  double height_;
  PictureStyle style_;
  QPen solidPen_;
  QPen dashedPen_;
  QBrush brush_;
  QFont font_;
  double ascent_ = 0.0;
  CoordinateSystem scale_;
  std::optional<PixelMap> map_;
  LineStyle lineStyle_ = LineStyle::kSolid;  // pen style of the lines collected in lines_
  QPainterPath lines_;                       // user coordinates of scale_
  std::vector<QRectF> dots_;                 // pixels
};

}  // namespace

void PaintDisplayList(QPainter& painter, const std::vector<DisplayItem>& items, double width,
                      double height, const QColor& foreground) {
  ListPainter(painter, width, height, foreground).Paint(items);
}

void PaintDisplayList(QPainter& painter, const RecordingSurface& surface, double width,
                      double height, const QColor& foreground) {
  PaintDisplayList(painter, surface.Items(), width, height, foreground);
}

}  // namespace qalto
