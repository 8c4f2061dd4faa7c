#pragma once
// The display list of a drawing as an SVG picture: black drawing on a white background, the
// text in a sans-serif font sized for the picture.

#include <string>

#include "drawing/recording_surface.h"

namespace qalto {

// The SVG document of the drawing painted into a width x height pixel picture.
std::string SvgText(const RecordingSurface& surface, int width, int height);

// Writes SvgText to the file, whole or not at all; false when the file cannot be written (its
// reason, "Path not found", "Disk full", ..., in *reason when given) or the size is not positive.
bool WriteSvg(const RecordingSurface& surface, const std::string& path, int width, int height,
              std::string* reason = nullptr);

}  // namespace qalto
