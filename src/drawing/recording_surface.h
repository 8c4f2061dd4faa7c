#pragma once
// A drawing surface that keeps what is drawn as a display list in user coordinates. Every item
// carries the coordinate system in force when it was drawn, so the list can be painted again at
// any size: in the plot window, on the clipboard, on the printer and into picture files.

#include <functional>
#include <string>
#include <vector>

#include "drawing/drawing_surface.h"

namespace qalto {

enum class ItemKind { kPoint, kLine, kRectangle, kText };

struct DisplayItem {
  ItemKind kind = ItemKind::kPoint;
  // Point and text: (x1, y1), the text's top-left corner; line: from (x1, y1) to (x2, y2);
  // rectangle: two opposite corners.
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
  LineStyle style = LineStyle::kSolid;
  CoordinateSystem scale;
  std::string text;  // text items only

  bool operator==(const DisplayItem&) const = default;
};

// Hands the item to the picture writer's method for its kind: AddPoint, AddLine, AddRectangle
// or AddText.
template <typename Writer>
void DispatchItem(const DisplayItem& item, Writer& writer) {
  switch (item.kind) {
    case ItemKind::kPoint:
      writer.AddPoint(item);
      break;
    case ItemKind::kLine:
      writer.AddLine(item);
      break;
    case ItemKind::kRectangle:
      writer.AddRectangle(item);
      break;
    case ItemKind::kText:
      writer.AddText(item);
      break;
  }
}

class RecordingSurface : public DrawingSurface {
 public:
  // Set in a run without a window: a painting waits for the next use of the surface.
  bool paintWhenUsed = false;
  bool PaintsWhenUsed() const override { return paintWhenUsed; }
  void Paint(const Painting& painting) override;

  void Show() override;
  void Clear() override;
  void SetScale(double x1, double y1, double x2, double y2) override;
  void SetPosition(double x, double y) override;
  void Print(const std::string& text) override;
  void SetPoint(double x, double y) override;
  void DrawLine(double x1, double y1, double x2, double y2) override;
  void DrawLineTo(double x, double y) override;
  void DrawRectangle(double x1, double y1, double x2, double y2) override;
  void SetLineStyle(LineStyle style) override {
    PaintWaiting();
    style_ = style;
  }

  const std::vector<DisplayItem>& Items() const { return PaintedNow().items_; }
  bool Shown() const { return shown_; }  // a waiting painting has shown the window already
  const CoordinateSystem& Scale() const { return PaintedNow().scale_; }
  double CurrentX() const { return PaintedNow().currentX_; }
  double CurrentY() const { return PaintedNow().currentY_; }
  LineStyle Style() const { return PaintedNow().style_; }

  // Called after the window is shown and after the drawing is erased; a window that paints the
  // list schedules its repaint here.
  std::function<void()> observer;

 private:
  void Add(ItemKind kind, double x1, double y1, double x2, double y2, std::string text = {});
  // Runs the waiting painting, if any. Reading the picture paints it: the waiting painting is
  // the picture's content already, only not yet written down.
  void PaintWaiting();
  const RecordingSurface& PaintedNow() const {
    const_cast<RecordingSurface*>(this)->PaintWaiting();
    return *this;
  }
  void Notify() {
    if (observer) observer();
  }

  std::vector<DisplayItem> items_;
  CoordinateSystem scale_;
  double currentX_ = 0.0;
  double currentY_ = 0.0;
  LineStyle style_ = LineStyle::kSolid;
  bool shown_ = false;
  Painting waiting_;
};

}  // namespace qalto
