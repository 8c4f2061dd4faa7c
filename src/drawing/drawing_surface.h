#pragma once
// A window that is drawn on in user coordinates, as the plot window is: the caller chooses which
// user coordinates the top-left and bottom-right corners of the window stand for (either axis may
// run backwards), then sets points, draws lines and rectangle outlines in the current line style
// and prints text whose top-left corner sits at the current position. Everything is drawn in the
// window's foreground colour on its background colour.

#include <functional>
#include <string>

namespace qalto {

enum class LineStyle { kSolid, kDashed };

// The user coordinates of the window's corners: (left, top) is the top-left corner and
// (right, bottom) the bottom-right one. left > right makes x run from right to left.
struct CoordinateSystem {
  double left = 0.0;
  double top = 0.0;
  double right = 1.0;
  double bottom = 1.0;

  bool operator==(const CoordinateSystem&) const = default;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Shows the window (modeless).
  virtual void Show() = 0;
  // Erases the drawing; the coordinate system, position and line style stay.
  virtual void Clear() = 0;
  // (x1, y1) becomes the top-left corner of the window and (x2, y2) the bottom-right one.
  virtual void SetScale(double x1, double y1, double x2, double y2) = 0;
  // Moves the current text and pen position.
  virtual void SetPosition(double x, double y) = 0;
  // Prints text with its top-left corner at the current position, then moves the position to
  // the start of the next text line, as a line of text output does.
  virtual void Print(const std::string& text) = 0;
  // Sets a single point; it becomes the current position.
  virtual void SetPoint(double x, double y) = 0;
  // A line between two points; the end point becomes the current position.
  virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
  // A line from the current position to (x, y), which becomes the current position.
  virtual void DrawLineTo(double x, double y) = 0;
  // The outline of the rectangle with corners (x1, y1) and (x2, y2).
  virtual void DrawRectangle(double x1, double y1, double x2, double y2) = 0;
  virtual void SetLineStyle(LineStyle style) = 0;

  // A whole picture drawn by one call. A surface whose picture nobody may read (a run without a
  // window) keeps it and paints it at its next use, drawing or reading; any other paints now.
  using Painting = std::function<void(DrawingSurface&)>;
  virtual bool PaintsWhenUsed() const { return false; }
  virtual void Paint(const Painting& painting) { painting(*this); }

  // The outline of the rectangle with one corner at (x, y) and the given width and height.
  void DrawRectangleBySize(double x, double y, double width, double height) {
    DrawRectangle(x, y, x + width, y + height);
  }
};

}  // namespace qalto
