#pragma once
// LU factors of a dense square matrix with partial pivoting, for the line blocks of the disc
// grid (up to 8 species x 16 sectors).

#include <vector>

namespace qalto {

struct DenseLu {
  int n = 0;
  std::vector<double> lu;  // row-major n x n: L below the diagonal (unit diagonal), U on and above
  std::vector<int> pivot;  // row exchanged with row i at step i
};

// Factors the row-major n x n matrix a into f; returns false for a singular matrix.
bool FactorDense(const double* a, int n, DenseLu& f);

// Solves A x = b in place (b becomes x).
void SolveDense(const DenseLu& f, double* b);

// Writes the inverse of the factored matrix, row-major, into inverse (n x n).
void InvertDense(const DenseLu& f, double* inverse);

}  // namespace qalto
