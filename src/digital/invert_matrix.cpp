#include "digital/invert_matrix.h"

#include <cmath>
#include <utility>

#include "common/checked_math.h"
#include "digital/species_count_dispatch.h"

namespace qalto {

namespace {

template <int n>
bool IsDiagonal(const SpeciesMatrix& M) {
  for (int i = 1; i <= n; ++i) {
    for (int k = 1; k <= n; ++k) {
      if (i != k && M[i][k] != 0.0) return false;
    }
  }
  return true;
}

// Gauss-Jordan elimination in place with full pivoting, for a matrix of n species.
template <int n>
struct Invert {
  static void Run(SpeciesMatrix& M, const ShowMessage& showMessage) {
    if (IsDiagonal<n>(M)) {
      for (int i = 1; i <= n; ++i)
        M[i][i] = Div(1.0, M[i][i]);
      return;
    }
    std::array<int, kSpeciesSlots> pivotRow{};     // row of the pivot of each step
    std::array<int, kSpeciesSlots> pivotColumn{};  // column of the pivot of each step
    std::array<bool, kSpeciesSlots> used{};        // columns (and rows) already pivoted
    for (int step = 1; step <= n; ++step) {
      double largest = 0.0;
      int row = 0;
      int column = 0;
      for (int i = 1; i <= n; ++i) {
        if (used[i]) continue;
        for (int k = 1; k <= n; ++k) {
          if (!used[k] && std::abs(M[i][k]) > largest) {
            largest = std::abs(M[i][k]);
            row = i;
            column = k;
          }
        }
      }
      if (largest == 0.0) {
        if (showMessage) showMessage(kSingularMatrixMessage);
        return;
      }
      used[column] = true;
      if (row != column) {
        for (int k = 1; k <= n; ++k)
          std::swap(M[row][k], M[column][k]);
      }
      pivotRow[step] = row;
      pivotColumn[step] = column;
      const double pivotInverse = 1.0 / M[column][column];
      M[column][column] = 1.0;
      for (int k = 1; k <= n; ++k)
        M[column][k] *= pivotInverse;
      for (int i = 1; i <= n; ++i) {
        if (i == column) continue;
        const double factor = M[i][column];
        if (factor == 0.0) continue;  // nothing to eliminate in this row
        M[i][column] = 0.0;
        for (int k = 1; k <= n; ++k)
          M[i][k] -= M[column][k] * factor;
      }
    }
    // The row exchanges of the elimination are column exchanges of the inverse: undo them in
    // reverse order.
    for (int step = n; step >= 1; --step) {
      if (pivotRow[step] == pivotColumn[step]) continue;
      for (int i = 1; i <= n; ++i)
        std::swap(M[i][pivotRow[step]], M[i][pivotColumn[step]]);
    }
  }
};

}  // namespace

void InvertMatrix(SpeciesMatrix& M, int n, const ShowMessage& showMessage) {
  ForSpeciesCount<Invert>(n, M, showMessage);
}

}  // namespace qalto
