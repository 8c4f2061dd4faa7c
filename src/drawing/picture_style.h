#pragma once
// How a display list becomes pixels, shared by every painter of it (picture files, the plot
// window, clipboard and printer) so that they all look alike: the mapping of user coordinates to
// pixels and the sizes of text, lines and points for a picture of a given size.

#include <optional>

#include "drawing/drawing_surface.h"

namespace qalto {

// Text lines that fit the height of the window: a printed line advances the position by the
// window height divided by this, and the text is sized to match.
inline constexpr double kTextLinesPerHeight = 40.0;

struct PictureStyle {
  double fontPixels = 15.0;  // text height, px
  double lineWidth = 1.0;    // px
  double pointRadius = 1.0;  // radius of a single point, px
  double dashLength = 5.0;   // dashed lines: drawn part, px
  double dashGap = 3.0;      // dashed lines: gap, px
};

PictureStyle PictureStyleFor(double width, double height);

// Pixel position = (user coordinate - origin) * scale, for one coordinate system; the origin is
// the user coordinate of the top-left corner.
struct PixelMap {
  double originX = 0.0;
  double originY = 0.0;
  double scaleX = 1.0;  // px per user unit, negative when the axis runs backwards
  double scaleY = 1.0;

  double X(double x) const { return (x - originX) * scaleX; }
  double Y(double y) const { return (y - originY) * scaleY; }
  double UserX(double px) const { return originX + px / scaleX; }
  double UserY(double py) const { return originY + py / scaleY; }
};

// The map of a coordinate system onto a width x height picture; nothing when the system has a
// side of zero length or a corner that is not a finite number, since nothing can be placed then.
std::optional<PixelMap> PixelMapFor(const CoordinateSystem& scale, double width, double height);

// Two points in user coordinates: the ends of a line or the opposite corners of a rectangle.
struct Segment {
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
};

// Geometry far outside the picture (a manual range narrower than the data) is cut at a margin
// around the picture, so that painters never meet coordinates of absurd size; what lies inside
// the picture is unchanged.
// The part of a line that lies within the picture and its margin; nothing when none does.
std::optional<Segment> VisibleLine(const PixelMap& map, double width, double height,
                                   const Segment& line);
// The rectangle with its corners moved onto the margin where they lie beyond it; nothing when it
// lies wholly outside.
std::optional<Segment> VisibleRectangle(const PixelMap& map, double width, double height,
                                        const Segment& corners);
bool PointVisible(const PixelMap& map, double width, double height, double x, double y);
// A text whose top-left corner is there may show some of itself in the picture.
bool TextVisible(const PixelMap& map, double width, double height, double x, double y);

}  // namespace qalto
