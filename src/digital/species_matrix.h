#pragma once
// The small dense tables of the digital simulation: a vector or a square matrix over the species
// of the mechanism (indexes 1..SpeciesCount, slot 0 unused), and the size of the grid tables.

#include <array>

#include "model/model.h"

namespace qalto {

inline constexpr int kSpeciesSlots = kMaxSpecies + 1;  // species indexes 0..8
inline constexpr int kGridSlots = 201;                 // grid indexes 0..200

using SpeciesVector = std::array<double, kSpeciesSlots>;
using SpeciesMatrix = std::array<SpeciesVector, kSpeciesSlots>;  // (row, column)

}  // namespace qalto
