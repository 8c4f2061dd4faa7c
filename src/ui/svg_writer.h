#pragma once
// The display list of a drawing as an SVG picture: black drawing on a white background, the
// text in a sans-serif font sized for the picture.

#include <string>

#include "ui/recording_surface.h"

namespace qalto {

// The SVG document of the drawing painted into a width x height pixel picture.
std::string SvgText(const RecordingSurface& surface, int width, int height);

// Writes SvgText to the file; false when the file cannot be written (or the size is not positive).
bool WriteSvg(const RecordingSurface& surface, const std::string& path, int width, int height);

}  // namespace qalto
