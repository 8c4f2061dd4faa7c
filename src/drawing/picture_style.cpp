#include "drawing/picture_style.h"

#include <algorithm>
#include <cmath>

namespace qalto {

namespace {
constexpr double kMinimumFontPixels = 11.0;    // below this the labels are no longer legible
constexpr double kLineWidthReference = 600.0;  // a picture this small gets one-pixel lines
constexpr double kClipMargin = 16.0;           // px beyond the picture where geometry is cut

bool AllFinite(const Segment& s) {
  return std::isfinite(s.x1) && std::isfinite(s.y1) && std::isfinite(s.x2) && std::isfinite(s.y2);
}

// Liang-Barsky: narrows [t0, t1] so that q + t*d stays within [low, high]; false when nothing is
// left.
bool ClipAxis(double q, double d, double low, double high, double& t0, double& t1) {
  if (d == 0.0) return q >= low && q <= high;
  double ta = (low - q) / d;
  double tb = (high - q) / d;
  if (ta > tb) std::swap(ta, tb);
  t0 = std::max(t0, ta);
  t1 = std::min(t1, tb);
  return t0 <= t1;
}
}  // namespace

PictureStyle PictureStyleFor(double width, double height) {
  PictureStyle style;
  style.fontPixels =
      std::max(kMinimumFontPixels, std::min(height / kTextLinesPerHeight, width / 50.0));
  style.lineWidth = std::max(1.0, std::min(width, height) / kLineWidthReference);
  style.pointRadius = std::max(1.0, style.lineWidth);
  style.dashLength = 5.0 * style.lineWidth;
  style.dashGap = 3.0 * style.lineWidth;
  return style;
}

std::optional<PixelMap> PixelMapFor(const CoordinateSystem& scale, double width, double height) {
  double spanX = scale.right - scale.left;
  double spanY = scale.bottom - scale.top;
  if (!std::isfinite(spanX) || !std::isfinite(spanY) || spanX == 0.0 || spanY == 0.0) {
    return std::nullopt;
  }
  PixelMap map;
  map.originX = scale.left;
  map.originY = scale.top;
  map.scaleX = width / spanX;
  map.scaleY = height / spanY;
  if (!std::isfinite(map.scaleX) || !std::isfinite(map.scaleY)) return std::nullopt;
  return map;
}

std::optional<Segment> VisibleLine(const PixelMap& map, double width, double height,
                                   const Segment& line) {
  if (!AllFinite(line)) return std::nullopt;
  double px = map.X(line.x1);
  double py = map.Y(line.y1);
  double dx = map.X(line.x2) - px;
  double dy = map.Y(line.y2) - py;
  if (!std::isfinite(px + py + dx + dy)) return std::nullopt;
  double t0 = 0.0;
  double t1 = 1.0;
  if (!ClipAxis(px, dx, -kClipMargin, width + kClipMargin, t0, t1)) return std::nullopt;
  if (!ClipAxis(py, dy, -kClipMargin, height + kClipMargin, t0, t1)) return std::nullopt;
  if (t0 == 0.0 && t1 == 1.0) return line;
  double ux = line.x2 - line.x1;
  double uy = line.y2 - line.y1;
  return Segment{line.x1 + t0 * ux, line.y1 + t0 * uy, line.x1 + t1 * ux, line.y1 + t1 * uy};
}

std::optional<Segment> VisibleRectangle(const PixelMap& map, double width, double height,
                                        const Segment& corners) {
  if (!AllFinite(corners)) return std::nullopt;
  double xa = map.X(corners.x1);
  double xb = map.X(corners.x2);
  double ya = map.Y(corners.y1);
  double yb = map.Y(corners.y2);
  if (!std::isfinite(xa + xb + ya + yb)) return std::nullopt;
  double low = -kClipMargin;
  if (std::max(xa, xb) < low || std::min(xa, xb) > width + kClipMargin) return std::nullopt;
  if (std::max(ya, yb) < low || std::min(ya, yb) > height + kClipMargin) return std::nullopt;
  auto clampX = [&](double user, double px) {
    return px < low || px > width + kClipMargin
               ? map.UserX(std::clamp(px, low, width + kClipMargin))
               : user;
  };
  auto clampY = [&](double user, double py) {
    return py < low || py > height + kClipMargin
               ? map.UserY(std::clamp(py, low, height + kClipMargin))
               : user;
  };
  return Segment{clampX(corners.x1, xa), clampY(corners.y1, ya), clampX(corners.x2, xb),
                 clampY(corners.y2, yb)};
}

bool PointVisible(const PixelMap& map, double width, double height, double x, double y) {
  double px = map.X(x);
  double py = map.Y(y);
  return std::isfinite(px) && std::isfinite(py) && px >= -kClipMargin &&
         px <= width + kClipMargin && py >= -kClipMargin && py <= height + kClipMargin;
}

bool TextVisible(const PixelMap& map, double width, double height, double x, double y) {
  double px = map.X(x);
  double py = map.Y(y);
  return std::isfinite(px) && std::isfinite(py) && px >= -width && px <= width && py >= -height &&
         py <= height;
}

}  // namespace qalto
