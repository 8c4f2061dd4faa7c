#pragma once
// The fields of the model by name, for scripts and sessions: "NumberOfPoints", "FOverRT",
// "CurrentY" with indexes (10, 1). Scripts read them with numbers in plain form and flags as
// True or False; sessions keep them in exact texts that read back to the same value.

#include <optional>
#include <string>
#include <vector>

#include "model/model.h"

namespace qalto {

// The value as text; nothing when the model has no field of that name. A wrong number of
// indexes or an index outside the table raises "Subscript out of range".
std::optional<std::string> ModelFieldText(const Model& model, const std::string& name,
                                          const std::vector<int>& indexes);

// One kept value: "ChargeKs(1)" and its exact text.
struct ModelFieldValue {
  std::string reference;
  std::string text;
};

// Every value of the model that differs from a new model's, in exact text, by field name and
// then index; the tables indexed by point (the curve store's) are left to the caller, and so
// are a running fit's flag and the derived case code.
std::vector<ModelFieldValue> KeptModelFields(const Model& model);

// Writes a field from its exact text; an error text naming what was wrong, empty on success.
std::string SetModelField(Model& model, const std::string& name, const std::vector<int>& indexes,
                          const std::string& text);

}  // namespace qalto
