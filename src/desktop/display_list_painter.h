#pragma once
// Paints a recorded drawing with Qt's painter, for every place the plot is shown: the plot
// window, the clipboard, the printer and PNG files.

#include <QColor>
#include <QPainter>

#include "drawing/recording_surface.h"

namespace qalto {

// Paints the display list into the rectangle (0, 0, width, height) of the painter's current
// coordinates, in the foreground colour; the caller fills the background. Geometry is mapped to
// pixels by the transform of each item's coordinate system and drawn with a normal pen, and text
// is sized in pixels, so that the picture keeps its proportions on any device.
void PaintDisplayList(QPainter& painter, const std::vector<DisplayItem>& items, double width,
                      double height, const QColor& foreground);
void PaintDisplayList(QPainter& painter, const RecordingSurface& surface, double width,
                      double height, const QColor& foreground);

}  // namespace qalto
