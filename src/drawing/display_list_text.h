#pragma once
// A drawing's display list as text, so that a picture can be painted by another process: one
// item a line, its numbers exact (hexadecimal floating point) and its text, which may hold any
// byte, with its length in front.

#include <string>
#include <string_view>
#include <vector>

#include "drawing/recording_surface.h"

namespace qalto {

std::string DisplayListText(const std::vector<DisplayItem>& items);

// The items of such a text; false when it is not one (then items holds those read before).
bool ReadDisplayListText(std::string_view text, std::vector<DisplayItem>& items);

}  // namespace qalto
