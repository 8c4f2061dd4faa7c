#pragma once
// A picture painted by another program: qalto-batch hands PNG pictures to the picture writer
// beside it, which alone loads Qt, the drawing going through a pipe as text.

#include <string>

namespace qalto {

// Runs `writer PATH WIDTH HEIGHT` with the drawing (DisplayListText) on its standard input.
// Returns an error text, empty when the picture was written: "PNG pictures need the picture
// writer W: <reason>" when it cannot be started, "cannot write PATH" with the reason it gave
// when it failed.
std::string PaintInProcess(const std::string& writer, const std::string& drawing,
                           const std::string& path, int width, int height);

}  // namespace qalto
