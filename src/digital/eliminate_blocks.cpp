#include "digital/eliminate_blocks.h"

#include "common/runtime_error.h"
#include "digital/invert_matrix.h"
#include "digital/multiply_matrices.h"

namespace qalto {

namespace {

bool BlocksAreDiagonal(const BlockSystem& system) {
  const int S = system.species;
  for (int j = 1; j <= system.boxes; ++j) {
    const SpeciesMatrix& D = system.diagonal[j];
    for (int r = 1; r <= S; ++r) {
      for (int k = 1; k <= S; ++k) {
        if (r != k && D[r][k] != 0.0) return false;
      }
    }
  }
  return true;
}

}  // namespace

void EliminateBlocks(const BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage) {
  const int S = system.species;
  const int N = system.boxes;
  if (S < 1 || S >= kSpeciesSlots || N < 1 || N + 1 >= kGridSlots) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  elimination.diagonal = BlocksAreDiagonal(system);
  for (int j = N; j >= 1; --j) {
    SpeciesMatrix& M = elimination.inverse[j];
    const SpeciesMatrix& D = system.diagonal[j];
    for (int r = 1; r <= S; ++r) {
      for (int k = 1; k <= S; ++k)
        M[r][k] = D[r][k];
    }
    if (j < N) {
      // D_j - diag(c_j) E_{j+1}, with E_{j+1} = inverse_{j+1} diag(a_{j+1}).
      const SpeciesMatrix& outer = elimination.inverse[j + 1];
      const SpeciesVector& c = system.upper[j];
      const SpeciesVector& a = system.lower[j + 1];
      for (int r = 1; r <= S; ++r) {
        for (int k = 1; k <= S; ++k)
          M[r][k] -= c[r] * outer[r][k] * a[k];
      }
    }
    InvertMatrix(M, S, showMessage);
  }
  // surfaceSource . E_1, with E_1 = inverse_1 diag(a_1).
  SpeciesMatrix E1{};
  const SpeciesVector& a1 = system.lower[1];
  for (int r = 1; r <= S; ++r) {
    for (int k = 1; k <= S; ++k)
      E1[r][k] = elimination.inverse[1][r][k] * a1[k];
  }
  MultiplyMatrices(system.surfaceSource, E1, elimination.surfaceCoupling, S, S, S);
  elimination.ready = true;
}

}  // namespace qalto
