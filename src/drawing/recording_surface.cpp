#include "drawing/recording_surface.h"

#include "drawing/picture_style.h"

namespace qalto {

void RecordingSurface::Paint(const Painting& painting) {
  PaintWaiting();
  if (paintWhenUsed) {
    waiting_ = painting;
  } else {
    painting(*this);
  }
}

void RecordingSurface::PaintWaiting() {
  if (!waiting_) return;
  Painting painting = std::move(waiting_);
  waiting_ = nullptr;
  painting(*this);
}

void RecordingSurface::Show() {
  PaintWaiting();
  shown_ = true;
  Notify();
}

void RecordingSurface::Clear() {
  PaintWaiting();
  items_.clear();
  Notify();
}

void RecordingSurface::SetScale(double x1, double y1, double x2, double y2) {
  PaintWaiting();
  scale_ = CoordinateSystem{x1, y1, x2, y2};
}

void RecordingSurface::SetPosition(double x, double y) {
  PaintWaiting();
  currentX_ = x;
  currentY_ = y;
}

void RecordingSurface::Print(const std::string& text) {
  PaintWaiting();
  Add(ItemKind::kText, currentX_, currentY_, currentX_, currentY_, text);
  // The next line starts at the left edge, one text line lower.
  currentX_ = scale_.left;
  currentY_ += (scale_.bottom - scale_.top) / kTextLinesPerHeight;
}

void RecordingSurface::SetPoint(double x, double y) {
  PaintWaiting();
  Add(ItemKind::kPoint, x, y, x, y);
  SetPosition(x, y);
}

void RecordingSurface::DrawLine(double x1, double y1, double x2, double y2) {
  PaintWaiting();
  Add(ItemKind::kLine, x1, y1, x2, y2);
  SetPosition(x2, y2);
}

void RecordingSurface::DrawLineTo(double x, double y) {
  PaintWaiting();
  DrawLine(currentX_, currentY_, x, y);
}

void RecordingSurface::DrawRectangle(double x1, double y1, double x2, double y2) {
  PaintWaiting();
  Add(ItemKind::kRectangle, x1, y1, x2, y2);
  SetPosition(x2, y2);
}

void RecordingSurface::Add(ItemKind kind, double x1, double y1, double x2, double y2,
                           std::string text) {
  PaintWaiting();
  items_.push_back(DisplayItem{kind, x1, y1, x2, y2, style_, scale_, std::move(text)});
}

}  // namespace qalto
