#include "digital/solve_linear_step.h"

#include <cmath>

#include "common/runtime_error.h"
#include "digital/eliminate_blocks.h"
#include "digital/invert_matrix.h"

namespace qalto {

namespace {

// f_j = inverse_j (C_old(j) + c_j f_{j+1}) for j = N..1, with f_{N+1} the bulk values.
void SweepInward(const BlockSystem& system, BlockElimination& elimination) {
  const int S = system.species;
  const int N = system.boxes;
  const SpeciesVector* outer = &system.current[N + 1];
  for (int j = N; j >= 1; --j) {
    const SpeciesVector& old = system.previous[j];
    const SpeciesVector& c = system.upper[j];
    const SpeciesMatrix& M = elimination.inverse[j];
    SpeciesVector& f = elimination.offset[j];
    if (elimination.diagonal) {
      for (int s = 1; s <= S; ++s)
        f[s] = M[s][s] * (old[s] + c[s] * (*outer)[s]);
    } else {
      SpeciesVector rhs;
      for (int s = 1; s <= S; ++s)
        rhs[s] = old[s] + c[s] * (*outer)[s];
      for (int r = 1; r <= S; ++r) {
        double sum = 0.0;
        for (int k = 1; k <= S; ++k)
          sum += M[r][k] * rhs[k];
        f[r] = sum;
      }
    }
    outer = &f;
  }
}

// (surface - surfaceSource E_1) C(0) = surfaceSource f_1.
void SolveSurface(BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
  const int S = system.species;
  SpeciesMatrix& A = elimination.work;
  for (int r = 1; r <= S; ++r) {
    for (int k = 1; k <= S; ++k)
      A[r][k] = system.surface[r][k] - elimination.surfaceCoupling[r][k];
  }
  InvertMatrix(A, S, showMessage);
  SpeciesVector rhs;
  const SpeciesVector& f1 = elimination.offset[1];
  for (int r = 1; r <= S; ++r) {
    double sum = 0.0;
    for (int k = 1; k <= S; ++k)
      sum += system.surfaceSource[r][k] * f1[k];
    rhs[r] = sum;
  }
  SpeciesVector& surface = system.current[0];
  for (int r = 1; r <= S; ++r) {
    double sum = 0.0;
    for (int k = 1; k <= S; ++k)
      sum += A[r][k] * rhs[k];
    surface[r] = sum;
  }
}

// C(j) = inverse_j (a_j C(j-1)) + f_j for j = 1..N.
void SubstituteOutward(BlockSystem& system, const BlockElimination& elimination) {
  const int S = system.species;
  const int N = system.boxes;
  for (int j = 1; j <= N; ++j) {
    const SpeciesVector& inner = system.current[j - 1];
    const SpeciesVector& a = system.lower[j];
    const SpeciesMatrix& M = elimination.inverse[j];
    const SpeciesVector& f = elimination.offset[j];
    SpeciesVector& C = system.current[j];
    if (elimination.diagonal) {
      for (int s = 1; s <= S; ++s)
        C[s] = M[s][s] * a[s] * inner[s] + f[s];
    } else {
      SpeciesVector coupled;
      for (int s = 1; s <= S; ++s)
        coupled[s] = a[s] * inner[s];
      for (int r = 1; r <= S; ++r) {
        double sum = f[r];
        for (int k = 1; k <= S; ++k)
          sum += M[r][k] * coupled[k];
        C[r] = sum;
      }
    }
  }
}

void CheckFinite(const BlockSystem& system) {
  for (int j = 0; j <= system.boxes; ++j) {
    for (int s = 1; s <= system.species; ++s) {
      if (!std::isfinite(system.current[j][s])) throw RuntimeError::Overflow();
    }
  }
}

}  // namespace

void SolveLinearStep(BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage) {
  if (!elimination.ready) EliminateBlocks(system, elimination, showMessage);
  SweepInward(system, elimination);
  SolveSurface(system, elimination, showMessage);
  SubstituteOutward(system, elimination);
  CheckFinite(system);
}

}  // namespace qalto
