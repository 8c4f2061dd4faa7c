#include "digital/multiply_matrices.h"

#include "common/runtime_error.h"

namespace qalto {

void MultiplyMatrices(const SpeciesMatrix& A, const SpeciesMatrix& B, SpeciesMatrix& C, int n,
                      int p, int m) {
  if (n >= kSpeciesSlots || p >= kSpeciesSlots || m >= kSpeciesSlots) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= m; ++j)
      C[i][j] = 0.0;
  }
  for (int i = 1; i <= n; ++i) {
    for (int k = 1; k <= p; ++k) {
      const double aik = A[i][k];
      for (int j = 1; j <= m; ++j)
        C[i][j] += aik * B[k][j];
    }
  }
}

}  // namespace qalto
