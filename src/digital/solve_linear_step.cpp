#include "digital/solve_linear_step.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/runtime_error.h"
#include "digital/eliminate_blocks.h"
#include "digital/invert_matrix.h"
#include "digital/species_count_dispatch.h"

namespace qalto {

namespace {

// C_old(s, j), the right-hand side of box j, read from one table.
struct FromTable {
  const std::array<SpeciesVector, kGridSlots>& C;
  double operator()(int j, int s) const { return C[j][s]; }
};

// C_old(s, j) = newer C(s, j) + older C_before(s, j), C_before(s, j) then replaced by C(s, j):
// the start of a step and the shift of the two latest profiles in one pass.
struct FromBlend {
  const std::array<SpeciesVector, kGridSlots>& C;
  std::array<SpeciesVector, kGridSlots>& before;
  double newer, older;
  double operator()(int j, int s) const {
    const double now = C[j][s];
    const double start = newer * now + older * before[j][s];
    before[j][s] = now;
    return start;
  }
};

// The stages of one step for S species. S is a template argument so that the loops over the
// species unroll and the chains running through the boxes stay in registers.
template <int S>
struct Inward {
  static void Run(const BlockSystem& system, BlockElimination& elimination) {
    const StepStart& start = system.start;
    switch (start.from) {
      case StepStart::From::kPrevious:
        Sweep(system, elimination, FromTable{system.previous});
        break;
      case StepStart::From::kCurrent:
        Sweep(system, elimination, FromTable{system.current});
        break;
      case StepStart::From::kBlend:
        Sweep(system, elimination,
              FromBlend{system.current, *start.before, start.newer, start.older});
        break;
    }
    // The right-hand side of the surface rows, surfaceSource f_1, is the same for any rows.
    const SpeciesVector& f1 = elimination.offset[1];
    for (int r = 1; r <= S; ++r) {
      double sum = 0.0;
      for (int k = 1; k <= S; ++k)
        sum += system.surfaceSource[r][k] * f1[k];
      elimination.surfaceRhs[r] = sum;
    }
  }

  template <class Start>
  static void Sweep(const BlockSystem& system, BlockElimination& elimination, const Start& old) {
    if (elimination.diagonal) {
      SweepDiagonal(system, elimination, old);
    } else {
      SweepCoupled(system, elimination, old);
    }
  }

  // f(s, j) = inverse_j(s, s) C_old(s, j) + inverse_j(s, s) c(s, j) f(s, j+1), j = N..1.
  template <class Start>
  static void SweepDiagonal(const BlockSystem& system, BlockElimination& elimination,
                            const Start& old) {
    const int N = system.boxes;
    std::array<double, S> outer;
    for (int s = 0; s < S; ++s)
      outer[s] = system.current[N + 1][s + 1];
    const double* p = elimination.packedPivot.data() + N * S;
    const double* q = elimination.packedInward.data() + N * S;
    double* f = elimination.packedOffset.data() + N * S;
    for (int j = N; j >= 1; --j, p -= S, q -= S, f -= S) {
      for (int s = 0; s < S; ++s) {
        outer[s] = p[s] * old(j, s + 1) + q[s] * outer[s];
        f[s] = outer[s];
      }
    }
    for (int s = 0; s < S; ++s)
      elimination.offset[1][s + 1] = outer[s];
  }

  // f_j = inverse_j (C_old(j) + c_j f_{j+1}) for j = N..1, with f_{N+1} the bulk values.
  template <class Start>
  static void SweepCoupled(const BlockSystem& system, BlockElimination& elimination,
                           const Start& old) {
    const int N = system.boxes;
    std::array<double, S> outer;
    for (int s = 0; s < S; ++s)
      outer[s] = system.current[N + 1][s + 1];
    for (int j = N; j >= 1; --j) {
      const SpeciesVector& c = system.upper[j];
      const SpeciesMatrix& M = elimination.inverse[j];
      std::array<double, S> rhs;
      for (int s = 0; s < S; ++s)
        rhs[s] = old(j, s + 1) + c[s + 1] * outer[s];
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
};

// (surface - surfaceSource E_1) C(0) = surfaceSource f_1 through the inverse of the block, kept
// in elimination.work for SurfaceResponse: one or two species in closed form (for two, Gaussian
// elimination with the largest entry as pivot, as InvertMatrix would choose it), more by
// InvertMatrix. A singular block goes to InvertMatrix, which shows the message.
template <int S>
struct Surface {
  static void Run(BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
    Invert(system, elimination, showMessage);
    Multiply(elimination.work, elimination.surfaceRhs, system.current[0]);
  }

  static void Invert(const BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage) {
    SpeciesMatrix& A = elimination.work;
    for (int r = 1; r <= S; ++r) {
      for (int k = 1; k <= S; ++k)
        A[r][k] = system.surface[r][k] - elimination.surfaceCoupling[r][k];
    }
    if (S == 1) {
      A[1][1] = Div(1.0, A[1][1]);
    } else if (S != 2 || !InvertPair(A)) {
      InvertMatrix(A, S, showMessage);
    }
  }

  static void Multiply(const SpeciesMatrix& M, const SpeciesVector& b, SpeciesVector& x) {
    for (int r = 1; r <= S; ++r) {
      double sum = 0.0;
      for (int k = 1; k <= S; ++k)
        sum += M[r][k] * b[k];
      x[r] = sum;
    }
  }

  // False, leaving A alone, when the block is singular or diagonal with a zero.
  static bool InvertPair(SpeciesMatrix& A) {
    if (A[1][2] == 0.0 && A[2][1] == 0.0) {
      if (A[1][1] == 0.0 || A[2][2] == 0.0) return false;
      A[1][1] = 1.0 / A[1][1];
      A[2][2] = 1.0 / A[2][2];
      return true;
    }
    // The pivot: the first largest entry row by row.
    const double m11 = std::abs(A[1][1]), m12 = std::abs(A[1][2]);
    const double m21 = std::abs(A[2][1]), m22 = std::abs(A[2][2]);
    int r = 1, c = 1;
    double largest = m11;
    if (m12 > largest) {
      largest = m12;
      c = 2;
    }
    if (m21 > largest) {
      largest = m21;
      r = 2;
      c = 1;
    }
    if (m22 > largest) {
      r = 2;
      c = 2;
    }
    if (r == 1) return c == 1 ? InvertAtPivot<1, 1>(A) : InvertAtPivot<1, 2>(A);
    return c == 1 ? InvertAtPivot<2, 1>(A) : InvertAtPivot<2, 2>(A);
  }

  // Gaussian elimination with the pivot (r, c); o and d are the other row and column.
  template <int r, int c>
  static bool InvertAtPivot(SpeciesMatrix& A) {
    constexpr int o = 3 - r, d = 3 - c;
    if (A[r][c] == 0.0) return false;
    const double inverse = 1.0 / A[r][c];
    const double across = A[r][d] * inverse;  // the pivot row divided by the pivot
    const double rest = A[o][d] - across * A[o][c];
    if (rest == 0.0) return false;
    const double below = A[o][c] / rest;
    // x_d = (b_o - A[o][c] b_r / p) / rest, x_c = b_r / p - across x_d.
    const double dr = -below * inverse, dd = 1.0 / rest;
    const double cr = inverse + across * below * inverse, cd = -across / rest;
    A[d][o] = dd;
    A[d][r] = dr;
    A[c][o] = cd;
    A[c][r] = cr;
    return true;
  }
};

template <int S>
struct SurfaceInverse {
  static void Run(const BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
    Surface<S>::Invert(system, elimination, showMessage);
  }
};

template <int S>
struct SurfaceFromInverse {
  static void Run(BlockSystem& system, const BlockElimination& elimination) {
    Surface<S>::Multiply(elimination.work, elimination.surfaceRhs, system.current[0]);
  }
};

template <int S>
struct Response {
  static void Run(const BlockElimination& elimination, const SpeciesVector& rhs,
                  SpeciesVector& out) {
    Surface<S>::Multiply(elimination.work, rhs, out);
  }
};

template <int S>
struct Outward {
  static void Run(BlockSystem& system, const BlockElimination& elimination) {
    const double check = elimination.diagonal ? SubstituteDiagonal(system, elimination)
                                              : Substitute(system, elimination);
    if (!std::isfinite(check)) throw RuntimeError::Overflow();
  }

  // C(s, j) = E_j(s, s) C(s, j-1) + f(s, j), j = 1..N; returns the sum of every concentration,
  // which is finite only when each is.
  static double SubstituteDiagonal(BlockSystem& system, const BlockElimination& elimination) {
    const int N = system.boxes;
    std::array<double, S> inner;
    double check = 0.0;
    for (int s = 0; s < S; ++s) {
      inner[s] = system.current[0][s + 1];
      check += inner[s];
    }
    const double* e = elimination.packedOutward.data() + S;
    const double* f = elimination.packedOffset.data() + S;
    SpeciesVector* C = system.current.data() + 1;
    for (SpeciesVector* end = C + N; C != end; e += S, f += S, ++C) {
      for (int s = 0; s < S; ++s) {
        inner[s] = e[s] * inner[s] + f[s];
        (*C)[s + 1] = inner[s];
        check += inner[s];
      }
    }
    return check;
  }

  // C(j) = E_j C(j-1) + f_j for j = 1..N.
  static double Substitute(BlockSystem& system, const BlockElimination& elimination) {
    const int N = system.boxes;
    std::array<double, S> inner;
    double check = 0.0;
    for (int s = 0; s < S; ++s) {
      inner[s] = system.current[0][s + 1];
      check += inner[s];
    }
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
        check += sum;
      }
      inner = next;
    }
    return check;
  }
};

}  // namespace

void SweepInward(BlockSystem& system, BlockElimination& elimination,
                 const ShowMessage& showMessage) {
  if (!elimination.ready) EliminateBlocks(system, elimination, showMessage);
  ForSpeciesCount<Inward>(system.species, system, elimination);
}

void SolveSurface(BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
  ForSpeciesCount<Surface>(system.species, system, elimination, showMessage);
}

void InvertSurfaceRows(BlockSystem& system, BlockElimination& elimination,
                       const ShowMessage& showMessage) {
  if (!elimination.ready) EliminateBlocks(system, elimination, showMessage);
  ForSpeciesCount<SurfaceInverse>(system.species, system, elimination, showMessage);
}

void SolveSurfaceByInverse(BlockSystem& system, const BlockElimination& elimination) {
  ForSpeciesCount<SurfaceFromInverse>(system.species, system, elimination);
}

void SubstituteOutward(BlockSystem& system, const BlockElimination& elimination) {
  ForSpeciesCount<Outward>(system.species, system, elimination);
}

void SurfaceResponse(const BlockSystem& system, const BlockElimination& elimination,
                     const SpeciesVector& rhs, SpeciesVector& out) {
  ForSpeciesCount<Response>(system.species, elimination, rhs, out);
}

namespace {

template <int S>
struct WholeStep {
  static void Run(BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage) {
    Inward<S>::Run(system, elimination);
    Surface<S>::Run(system, elimination, showMessage);
    Outward<S>::Run(system, elimination);
  }
};

}  // namespace

void SolveLinearStep(BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage) {
  if (!elimination.ready) EliminateBlocks(system, elimination, showMessage);
  ForSpeciesCount<WholeStep>(system.species, system, elimination, showMessage);
}

}  // namespace qalto
