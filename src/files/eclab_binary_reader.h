#pragma once
// EC-Lab's own binary file (.mpr), the file its text export (.mpt) is made from: the magic
// "BIO-LOGIC MODULAR FILE", then a chain of modules ("VMP Set", "VMP data", "VMP LOG", ...),
// each a name, a length, a version, a date and its data, little-endian throughout. The data
// module holds the number of points, the ids of the columns stored and one fixed-size record
// per point.

#include <string>
#include <string_view>

#include "files/column_heading.h"
#include "files/imported_curve.h"

namespace qalto {

bool LooksLikeEcLabBinary(std::string_view bytes);

// The curves of the data module as the text export would give them: one per value of "cycle
// number" (one without that column), in V, A and s, with the technique and the electrode area
// of the settings module. A module, version or column the reader does not know, and a file
// that ends inside a module, raise a FileFormatError (line 0) naming what was found.
ImportedFile ReadEcLabBinary(std::string_view bytes, const std::string& source,
                             const ColumnChoice& choice);

}  // namespace qalto
