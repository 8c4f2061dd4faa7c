#include "digital/solve_linear_step.h"

#include <cmath>

#include "common/runtime_error.h"
#include "digital/eliminate_blocks.h"
#include "digital/invert_matrix.h"
#include "digital/species_count_dispatch.h"

namespace qalto {

namespace {

// The sweeps of one step for S species. S is a template argument so that the loops over the
// species unroll and the chains running through the boxes stay in registers.
template <int S>
struct LinearStep {
  static void Run(BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
    if (elimination.diagonal) {
      SweepInwardDiagonal(system, elimination);
    } else {
      SweepInward(system, elimination);
    }
    SolveSurface(system, elimination, showMessage);
    if (elimination.diagonal) {
      SubstituteOutwardDiagonal(system, elimination);
    } else {
      SubstituteOutward(system, elimination);
    }
    CheckFinite(system);
  }

  // f(s, j) = inverse_j(s, s) C_old(s, j) + inverse_j(s, s) c(s, j) f(s, j+1), j = N..1.
  static void SweepInwardDiagonal(const BlockSystem& system, BlockElimination& elimination) {
    const int N = system.boxes;
    std::array<double, S> outer;
    for (int s = 0; s < S; ++s)
      outer[s] = system.current[N + 1][s + 1];
    for (int j = N; j >= 1; --j) {
      const SpeciesVector& old = system.previous[j];
      const SpeciesVector& p = elimination.pivot[j];
      const SpeciesVector& q = elimination.inwardFactor[j];
      SpeciesVector& f = elimination.offset[j];
      for (int s = 0; s < S; ++s) {
        outer[s] = p[s + 1] * old[s + 1] + q[s + 1] * outer[s];
        f[s + 1] = outer[s];
      }
    }
  }

  // f_j = inverse_j (C_old(j) + c_j f_{j+1}) for j = N..1, with f_{N+1} the bulk values.
  static void SweepInward(const BlockSystem& system, BlockElimination& elimination) {
    const int N = system.boxes;
    std::array<double, S> outer;
    for (int s = 0; s < S; ++s)
      outer[s] = system.current[N + 1][s + 1];
    for (int j = N; j >= 1; --j) {
      const SpeciesVector& old = system.previous[j];
      const SpeciesVector& c = system.upper[j];
      const SpeciesMatrix& M = elimination.inverse[j];
      std::array<double, S> rhs;
      for (int s = 0; s < S; ++s)
        rhs[s] = old[s + 1] + c[s + 1] * outer[s];
      SpeciesVector& f = elimination.offset[j];
      for (int r = 0; r < S; ++r) {
        double sum = 0.0;
        for (int k = 0; k < S; ++k)
          sum += M[r + 1][k + 1] * rhs[k];
        outer[r] = sum;
        f[r + 1] = sum;
      }
    }
  }

  // (surface - surfaceSource E_1) C(0) = surfaceSource f_1.
  static void SolveSurface(BlockSystem& system, BlockElimination& elimination,
                           const ShowMessage& showMessage) {
    SpeciesMatrix& A = elimination.work;
    for (int r = 1; r <= S; ++r) {
      for (int k = 1; k <= S; ++k) {
        A[r][k] = system.surface[r][k] - elimination.surfaceCoupling[r][k];
      }
    }
    InvertMatrix(A, S, showMessage);
    std::array<double, S + 1> rhs;
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

  // C(s, j) = E_j(s, s) C(s, j-1) + f(s, j), j = 1..N.
  static void SubstituteOutwardDiagonal(BlockSystem& system, const BlockElimination& elimination) {
    const int N = system.boxes;
    std::array<double, S> inner;
    for (int s = 0; s < S; ++s)
      inner[s] = system.current[0][s + 1];
    for (int j = 1; j <= N; ++j) {
      const SpeciesVector& e = elimination.outwardFactor[j];
      const SpeciesVector& f = elimination.offset[j];
      SpeciesVector& C = system.current[j];
      for (int s = 0; s < S; ++s) {
        inner[s] = e[s + 1] * inner[s] + f[s + 1];
        C[s + 1] = inner[s];
      }
    }
  }

  // C(j) = E_j C(j-1) + f_j for j = 1..N.
  static void SubstituteOutward(BlockSystem& system, const BlockElimination& elimination) {
    const int N = system.boxes;
    std::array<double, S> inner;
    for (int s = 0; s < S; ++s)
      inner[s] = system.current[0][s + 1];
    for (int j = 1; j <= N; ++j) {
      const SpeciesMatrix& E = elimination.outward[j];
      const SpeciesVector& f = elimination.offset[j];
      SpeciesVector& C = system.current[j];
      std::array<double, S> next;
      for (int r = 0; r < S; ++r) {
        double sum = f[r + 1];
        for (int k = 0; k < S; ++k)
          sum += E[r + 1][k + 1] * inner[k];
        next[r] = sum;
        C[r + 1] = sum;
      }
      inner = next;
    }
  }

  static void CheckFinite(const BlockSystem& system) {
    bool finite = true;
    for (int j = 0; j <= system.boxes; ++j) {
      for (int s = 1; s <= S; ++s)
        finite &= std::isfinite(system.current[j][s]);
    }
    if (!finite) throw RuntimeError::Overflow();
  }
};

}  // namespace

void SolveLinearStep(BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage) {
  if (!elimination.ready) EliminateBlocks(system, elimination, showMessage);
  ForSpeciesCount<LinearStep>(system.species, system, elimination, showMessage);
}

}  // namespace qalto
