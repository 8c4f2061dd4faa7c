#pragma once
// Reading a field of the model by its name, for scripts: "NumberOfPoints", "FOverRT",
// "CurrentY" with indexes (10, 1). Numbers are written in plain form, flags as True or False.

#include <optional>
#include <string>
#include <vector>

#include "model/model.h"

namespace qalto {

// The value as text; nothing when the model has no field of that name. A wrong number of
// indexes or an index outside the table raises "Subscript out of range".
std::optional<std::string> ModelFieldText(const Model& model, const std::string& name,
                                          const std::vector<int>& indexes);

}  // namespace qalto
