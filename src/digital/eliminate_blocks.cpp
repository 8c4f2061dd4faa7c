#include "digital/eliminate_blocks.h"

#include "common/runtime_error.h"
#include "digital/invert_matrix.h"
#include "digital/multiply_matrices.h"
#include "digital/species_count_dispatch.h"

namespace qalto {

namespace {

template <int S>
struct Elimination {
  static void Run(const BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
    const int N = system.boxes;
    elimination.diagonal = BlocksAreDiagonal(system);
    for (int j = N; j >= 1; --j) {
      SpeciesMatrix& M = elimination.inverse[j];
      const SpeciesMatrix& D = system.diagonal[j];
      for (int r = 1; r <= S; ++r) {
        for (int k = 1; k <= S; ++k)
          M[r][k] = D[r][k];
      }
      if (j < N) {
        // D_j - diag(c_j) E_{j+1}.
        const SpeciesMatrix& outer = elimination.outward[j + 1];
        const SpeciesVector& c = system.upper[j];
        for (int r = 1; r <= S; ++r) {
          for (int k = 1; k <= S; ++k)
            M[r][k] -= c[r] * outer[r][k];
        }
      }
      InvertMatrix(M, S, showMessage);
      KeepOutwardCoefficients(system, elimination, j);
    }
    MultiplyMatrices(system.surfaceSource, elimination.outward[1], elimination.surfaceCoupling, S,
                     S, S);
  }

  static bool BlocksAreDiagonal(const BlockSystem& system) {
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

  // E_j = inverse_j diag(a_j); with diagonal blocks also the diagonals the sweeps use, so that
  // each box costs one multiply-add per species in the chains of the sweeps.
  static void KeepOutwardCoefficients(const BlockSystem& system, BlockElimination& elimination,
                                      int j) {
    const SpeciesMatrix& M = elimination.inverse[j];
    const SpeciesVector& a = system.lower[j];
    SpeciesMatrix& E = elimination.outward[j];
    for (int r = 1; r <= S; ++r) {
      for (int k = 1; k <= S; ++k)
        E[r][k] = M[r][k] * a[k];
    }
    if (!elimination.diagonal) return;
    for (int s = 1; s <= S; ++s) {
      const int at = j * S + s - 1;
      elimination.packedPivot[at] = M[s][s];
      elimination.packedInward[at] = M[s][s] * system.upper[j][s];
      elimination.packedOutward[at] = E[s][s];
    }
  }
};

}  // namespace

void EliminateBlocks(const BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage) {
  if (system.boxes < 1 || system.boxes + 1 >= kGridSlots) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  ForSpeciesCount<Elimination>(system.species, system, elimination, showMessage);
  elimination.ready = true;
}

}  // namespace qalto
