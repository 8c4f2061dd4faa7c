#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "digital/eliminate_blocks.h"
#include "digital/solve_linear_step.h"
#include "digital/solve_second_order_step.h"

namespace qalto {
namespace {

// Deterministic numbers in [0, 1).
class Numbers {
 public:
  double Next() {
    state_ = (state_ * 24298 + 99991) % 199017;
    return static_cast<double>(state_) / 199017.0;
  }

 private:
  long long state_ = 12345;
};

// A block system with coupled species in every box, a general surface block and a bulk box.
std::unique_ptr<BlockSystem> CoupledSystem(int S, int N, bool diagonalBlocks) {
  auto sys = std::make_unique<BlockSystem>();
  Numbers random;
  sys->species = S;
  sys->boxes = N;
  for (int j = 1; j <= N; ++j) {
    for (int s = 1; s <= S; ++s) {
      sys->lower[j][s] = 0.5 + random.Next();
      sys->upper[j][s] = 0.5 + random.Next();
      for (int k = 1; k <= S; ++k) {
        const double coupling = diagonalBlocks ? 0.0 : -0.3 * random.Next();
        sys->diagonal[j][s][k] = s == k ? 1.0 + sys->lower[j][s] + sys->upper[j][s] : coupling;
      }
      sys->previous[j][s] = random.Next();
    }
  }
  for (int s = 1; s <= S; ++s) {
    sys->current[N + 1][s] = 1.0;
    for (int k = 1; k <= S; ++k) {
      sys->surface[s][k] = (s == k ? 3.0 : 0.0) + 0.5 * random.Next();
      sys->surfaceSource[s][k] = (s == k ? 1.0 : 0.0) + 0.2 * random.Next();
    }
  }
  return sys;
}

// The same equations as one dense system over (surface, box 1, ..., box N), solved by Gaussian
// elimination with partial pivoting.
std::vector<double> DenseSolve(const BlockSystem& sys) {
  const int S = sys.species;
  const int N = sys.boxes;
  const int size = (N + 1) * S;
  std::vector<std::vector<double>> A(size, std::vector<double>(size + 1, 0.0));
  auto at = [S](int box, int s) { return box * S + (s - 1); };
  for (int s = 1; s <= S; ++s) {
    for (int k = 1; k <= S; ++k) {
      A[at(0, s)][at(0, k)] = sys.surface[s][k];
      A[at(0, s)][at(1, k)] = -sys.surfaceSource[s][k];
    }
  }
  for (int j = 1; j <= N; ++j) {
    for (int s = 1; s <= S; ++s) {
      auto& row = A[at(j, s)];
      row[at(j - 1, s)] -= sys.lower[j][s];
      for (int k = 1; k <= S; ++k)
        row[at(j, k)] += sys.diagonal[j][s][k];
      if (j < N) row[at(j + 1, s)] -= sys.upper[j][s];
      row[size] = sys.previous[j][s] + (j == N ? sys.upper[j][s] * sys.current[N + 1][s] : 0.0);
    }
  }
  for (int c = 0; c < size; ++c) {
    int best = c;
    for (int r = c + 1; r < size; ++r) {
      if (std::abs(A[r][c]) > std::abs(A[best][c])) best = r;
    }
    std::swap(A[c], A[best]);
    for (int r = 0; r < size; ++r) {
      if (r == c) continue;
      const double factor = A[r][c] / A[c][c];
      for (int k = c; k <= size; ++k)
        A[r][k] -= factor * A[c][k];
    }
  }
  std::vector<double> x(size);
  for (int r = 0; r < size; ++r)
    x[r] = A[r][size] / A[r][r];
  return x;
}

void ExpectMatchesDense(const BlockSystem& sys) {
  const std::vector<double> dense = DenseSolve(sys);
  for (int j = 0; j <= sys.boxes; ++j) {
    for (int s = 1; s <= sys.species; ++s) {
      const double expected = dense[j * sys.species + (s - 1)];
      EXPECT_NEAR(sys.current[j][s], expected, 1e-12 * (1.0 + std::abs(expected)))
          << "box " << j << " species " << s;
    }
  }
}

// Coupled and diagonal blocks, one species in one box up to three in seven: the elimination
// gives the dense solution, and the next step reuses it with a new right-hand side and new
// surface rows.
TEST(SolveLinearStep, AgreesWithADenseDirectSolve) {
  struct Case {
    int species, boxes;
    bool diagonalBlocks;
  };
  for (const Case& c : {Case{3, 7, false}, Case{3, 7, true}, Case{1, 1, true}}) {
    auto sys = CoupledSystem(c.species, c.boxes, c.diagonalBlocks);
    BlockElimination elimination;
    std::vector<std::string> messages;
    const ShowMessage sink = [&](const std::string& m) { messages.push_back(m); };
    SolveLinearStep(*sys, elimination, sink);
    EXPECT_EQ(elimination.diagonal, c.diagonalBlocks);
    ExpectMatchesDense(*sys);
    for (int j = 1; j <= sys->boxes; ++j)
      sys->previous[j] = sys->current[j];
    sys->surface[1][1] += 5.0;
    if (c.species > 1) sys->surface[2][1] -= 1.0;
    SolveLinearStep(*sys, elimination, sink);
    ExpectMatchesDense(*sys);
    EXPECT_TRUE(messages.empty());
  }
}

TEST(SolveLinearStep, SingularSurfaceBlockShowsTheMessageAndTheStepGoesOn) {
  auto sys = CoupledSystem(2, 4, true);
  sys->surfaceSource = SpeciesMatrix{};
  // Two equal surface rows: singular, and not diagonal.
  sys->surface[1][1] = sys->surface[1][2] = sys->surface[2][1] = sys->surface[2][2] = 1.0;
  BlockElimination elimination;
  std::vector<std::string> messages;
  EXPECT_NO_THROW(
      SolveLinearStep(*sys, elimination, [&](const std::string& m) { messages.push_back(m); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Error: inverse matrix D=0");
}

// Residual of box j, species s of the non-linear equations: diffusion and the linear blocks plus
// the exact rates of A + B = C.
double SecondOrderResidual(const BlockSystem& sys, const SecondOrderStep& step, int j, int s) {
  double lhs = -sys.lower[j][s] * sys.current[j - 1][s] - sys.upper[j][s] * sys.current[j + 1][s];
  for (int k = 1; k <= sys.species; ++k)
    lhs += step.linearBlocks[j][s][k] * sys.current[j][k];
  const SecondOrderReaction& q = step.reactions[0];
  const SpeciesVector& C = sys.current[j];
  const double rate = q.forward * C[q.reactantA] * C[q.reactantB] - q.backward * C[q.productC];
  if (s == q.reactantA || s == q.reactantB) lhs += rate;
  if (s == q.productC) lhs -= rate;
  return lhs - sys.previous[j][s];
}

TEST(SolveSecondOrderStep, ConvergesToTheNonLinearEquations) {
  auto sys = CoupledSystem(3, 6, true);
  for (int j = 1; j <= sys->boxes; ++j)
    sys->previous[j] = {0.0, 1.0, 0.8, 0.1};
  auto step = std::make_unique<SecondOrderStep>();
  step->reactionCount = 1;
  step->reactions[0] = {1, 2, 3, 0, 0.5, 0.1};
  KeepLinearBlocks(*sys, *step);
  BlockElimination elimination;
  int maxIteration = 0;
  SolveSecondOrderStep(*sys, elimination, *step, maxIteration, ShowMessage{});
  EXPECT_GE(maxIteration, 2);
  EXPECT_LE(maxIteration, 10);
  for (int j = 1; j <= sys->boxes; ++j) {
    for (int s = 1; s <= 3; ++s) {
      EXPECT_NEAR(SecondOrderResidual(*sys, *step, j, s), 0.0, 2e-3) << j << " " << s;
      EXPECT_GE(sys->current[j][s], 0.0);
    }
  }
  // The linear blocks are left as they were; the system's blocks carry the last linearisation.
  EXPECT_EQ(step->linearBlocks[1][1][2], 0.0);
  EXPECT_NE(sys->diagonal[1][1][1], step->linearBlocks[1][1][1]);
}

}  // namespace
}  // namespace qalto
