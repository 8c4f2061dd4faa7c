#pragma once
// The display list of a drawing as a PNG picture, painted by Qt. The header is free of Qt.

#include <string>

#include "drawing/recording_surface.h"

namespace qalto {

// Paints the drawing black on white into a width x height pixel picture and writes it as PNG;
// false when the picture cannot be made or the file cannot be written (its reason in *reason
// when given). The file is written whole or not at all. Without a running Qt application it
// starts one on the offscreen platform, which lives to the end of the program.
bool WritePng(const std::vector<DisplayItem>& items, const std::string& path, int width, int height,
              std::string* reason = nullptr);

}  // namespace qalto
