#pragma once
// Product of two species matrices.

#include "digital/species_matrix.h"

namespace qalto {

// C(i, j) = sum over k = 1..p of A(i, k) B(k, j), for i = 1..n and j = 1..m. C is cleared first,
// entry by entry, so it must be neither A nor B.
void MultiplyMatrices(const SpeciesMatrix& A, const SpeciesMatrix& B, SpeciesMatrix& C, int n,
                      int p, int m);

}  // namespace qalto
