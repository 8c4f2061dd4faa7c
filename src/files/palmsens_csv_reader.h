#pragma once
// PalmSens PSTrace and PStouch CSV export: a title block ("Date and time:", notes, the curve
// titles, "Date and time measurement:"), a unit row "V,µA,V,µA,..." and the curves side by
// side as potential/current column pairs, each pair as long as its curve.

#include <string>
#include <string_view>
#include <vector>

#include "files/imported_curve.h"

namespace qalto {

bool LooksLikePalmSensCsv(const std::vector<std::string_view>& lines);

// One curve per column pair, labelled with its title; the file holds no settings.
ImportedFile ReadPalmSensCsv(const std::vector<std::string_view>& lines, const std::string& source);

}  // namespace qalto
