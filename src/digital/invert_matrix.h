#pragma once
// In-place inverse of a small species matrix.

#include "digital/show_message.h"
#include "digital/species_matrix.h"

namespace qalto {

inline constexpr const char* kSingularMatrixMessage = "Error: inverse matrix D=0";

// Replaces the n x n matrix M (indexes 1..n) by its inverse. A diagonal matrix is inverted entry
// by entry; any other by Gauss-Jordan elimination with full pivoting. A singular matrix shows
// "Error: inverse matrix D=0" and leaves M partly transformed; the caller carries on with it.
void InvertMatrix(SpeciesMatrix& M, int n, const ShowMessage& showMessage);

}  // namespace qalto
