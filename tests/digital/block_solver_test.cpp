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

TEST(SolveLinearStep, AgreesWithADenseDirectSolve) {
  for (bool diagonalBlocks : {false, true}) {
    auto sys = CoupledSystem(3, 7, diagonalBlocks);
    BlockElimination elimination;
    std::vector<std::string> messages;
    const ShowMessage sink = [&](const std::string& m) { messages.push_back(m); };
    SolveLinearStep(*sys, elimination, sink);
    EXPECT_EQ(elimination.diagonal, diagonalBlocks);
    ExpectMatchesDense(*sys);

    // The next step reuses the elimination of the unchanged blocks with a new right-hand side
    // and new surface rows.
    for (int j = 1; j <= sys->boxes; ++j)
      sys->previous[j] = sys->current[j];
    sys->surface[1][1] += 5.0;
    sys->surface[2][1] -= 1.0;
    SolveLinearStep(*sys, elimination, sink);
    ExpectMatchesDense(*sys);
    EXPECT_TRUE(messages.empty());
  }
}

TEST(SolveLinearStep, OneSpeciesOneBox) {
  auto sys = CoupledSystem(1, 1, true);
  BlockElimination elimination;
  SolveLinearStep(*sys, elimination, ShowMessage{});
  ExpectMatchesDense(*sys);
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

TEST(SolveSecondOrderStep, SmallChangeBetweenEstimatesStopsAfterTheSecondIteration) {
  // A uniform solution behind a closed surface: only the slow reaction A + B -> C changes it.
  // The product starts from nothing, so the first estimate differs from the old step; the
  // second differs from the first by the relative change of C_B, 1e-4.
  auto sys = CoupledSystem(3, 5, true);
  for (int j = 1; j <= sys->boxes + 1; ++j) {
    sys->previous[j] = {0.0, 1.0, 1.0, 0.0};
    sys->current[j] = sys->previous[j];
  }
  sys->surface = sys->surfaceSource = SpeciesMatrix{};
  for (int s = 1; s <= 3; ++s)
    sys->surfaceSource[s][s] = sys->surface[s][s] = 1.0;
  auto step = std::make_unique<SecondOrderStep>();
  step->reactionCount = 1;
  step->reactions[0] = {1, 2, 3, 0, 1e-4, 0.0};
  KeepLinearBlocks(*sys, *step);
  BlockElimination elimination;
  int maxIteration = 0;
  SolveSecondOrderStep(*sys, elimination, *step, maxIteration, ShowMessage{});
  EXPECT_EQ(maxIteration, 2);
  EXPECT_NEAR(sys->current[2][3], 1e-4, 2e-6);  // less what diffuses toward the bulk

  // A raised maximum stays where it is.
  maxIteration = 7;
  SolveSecondOrderStep(*sys, elimination, *step, maxIteration, ShowMessage{});
  EXPECT_EQ(maxIteration, 7);
}

TEST(SolveSecondOrderStep, NegativeEstimatesAreClampedBeforeTheNextIteration) {
  // Two boxes without diffusion, each its own small reactor for A + B -> C (k'f = 0.5) behind a
  // surface that copies box 1. Box 2 starts with a slightly negative B, as an overshoot of an
  // earlier step may leave it: every solve gives B < 0 there (and C < 0 at first), so the
  // iteration never settles, and each new estimate has B clamped to 0. The clamp cannot be
  // reached from a simulation, whose linearised steps keep concentrations from the bulk
  // non-negative.
  auto sys = std::make_unique<BlockSystem>();
  sys->species = 3;
  sys->boxes = 2;
  for (int j = 1; j <= 2; ++j) {
    for (int s = 1; s <= 3; ++s)
      sys->diagonal[j][s][s] = 1.0;
  }
  for (int s = 1; s <= 3; ++s)
    sys->surface[s][s] = sys->surfaceSource[s][s] = 1.0;
  sys->previous[1] = {0.0, 1.0, 1.0, 0.0};
  sys->previous[2] = {0.0, 1.0, -0.01, 0.0};
  sys->current[3] = sys->previous[1];
  auto step = std::make_unique<SecondOrderStep>();
  step->reactionCount = 1;
  step->reactions[0] = {1, 2, 3, 0, 0.5, 0.0};
  KeepLinearBlocks(*sys, *step);
  BlockElimination elimination;
  int maxIteration = 0;
  SolveSecondOrderStep(*sys, elimination, *step, maxIteration, ShowMessage{});
  EXPECT_EQ(maxIteration, 10);
  // The last linearisation used the clamped estimate: B = 0 in box 2, so A there reacted with
  // nothing (C_A = 1 exactly) and formed no C, where the unclamped B = -0.0067 of the first
  // solve would have raised A and made C negative.
  EXPECT_EQ(step->estimate[2][2], 0.0);
  EXPECT_EQ(step->estimate[2][3], 0.0);
  EXPECT_EQ(sys->diagonal[2][1][1], 1.0);
  EXPECT_EQ(sys->current[2][1], 1.0);
  EXPECT_EQ(sys->current[2][3], 0.0);
  // The tenth solve is clamped in turn: what the step leaves is its estimate.
  EXPECT_EQ(sys->current[2][2], 0.0);
  // Box 1 reacts normally: A and B consumed alike, C formed, nothing negative.
  EXPECT_LT(sys->current[1][1], 1.0);
  EXPECT_NEAR(sys->current[1][1], sys->current[1][2], 1e-12);
  EXPECT_NEAR(sys->current[1][1] + sys->current[1][3], 1.0, 1e-12);
  EXPECT_GT(sys->current[1][3], 0.0);
}

TEST(SolveSecondOrderStep, ZeroConcentrationsCountAsUnchanged) {
  // Species 3 is absent everywhere and nothing makes it: zero before and after every estimate.
  auto sys = CoupledSystem(3, 4, true);
  for (int j = 1; j <= sys->boxes + 1; ++j) {
    sys->previous[j] = {0.0, 1.0, 1.0, 0.0};
    sys->current[j] = sys->previous[j];
  }
  sys->surface = sys->surfaceSource = SpeciesMatrix{};
  for (int s = 1; s <= 3; ++s)
    sys->surfaceSource[s][s] = sys->surface[s][s] = 1.0;
  auto step = std::make_unique<SecondOrderStep>();
  step->reactionCount = 1;
  step->reactions[0] = {1, 2, 0, 0, 0.0, 0.0};
  KeepLinearBlocks(*sys, *step);
  BlockElimination elimination;
  int maxIteration = 0;
  SolveSecondOrderStep(*sys, elimination, *step, maxIteration, ShowMessage{});
  EXPECT_EQ(maxIteration, 1);
  for (int j = 1; j <= sys->boxes; ++j)
    EXPECT_EQ(sys->current[j][3], 0.0);
}

}  // namespace
}  // namespace qalto
