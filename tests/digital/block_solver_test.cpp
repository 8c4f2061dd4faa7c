#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "digital/eliminate_blocks.h"
#include "digital/solve_linear_step.h"
#include "digital/solve_second_order_step.h"

namespace qalto {
namespace {

// A block system with coupled species in every box, a general surface block and a bulk box.
std::unique_ptr<BlockSystem> CoupledSystem(int S, int N, bool diagonalBlocks) {
  auto sys = std::make_unique<BlockSystem>();
  std::mt19937 engine(12345);  // the same numbers in every run
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  auto random = [&] { return uniform(engine); };
  sys->species = S;
  sys->boxes = N;
  for (int j = 1; j <= N; ++j) {
    for (int s = 1; s <= S; ++s) {
      sys->lower[j][s] = 0.5 + random();
      sys->upper[j][s] = 0.5 + random();
      for (int k = 1; k <= S; ++k) {
        const double coupling = diagonalBlocks ? 0.0 : -0.3 * random();
        sys->diagonal[j][s][k] = s == k ? 1.0 + sys->lower[j][s] + sys->upper[j][s] : coupling;
      }
      sys->previous[j][s] = random();
    }
  }
  for (int s = 1; s <= S; ++s) {
    sys->current[N + 1][s] = 1.0;
    for (int k = 1; k <= S; ++k) {
      sys->surface[s][k] = (s == k ? 3.0 : 0.0) + 0.5 * random();
      sys->surfaceSource[s][k] = (s == k ? 1.0 : 0.0) + 0.2 * random();
    }
  }
  return sys;
}

using SpeciesBlocks = std::array<SpeciesMatrix, kGridSlots>;

// Residual of the block equations at box j, species s, with the given blocks: the surface rows
// at box 0, diffusion and the blocks inside, the bulk beyond the last box.
double Residual(const BlockSystem& sys, const SpeciesBlocks& blocks, int j, int s) {
  const SpeciesVector* C = sys.current.data();
  double lhs = 0.0;
  for (int k = 1; k <= sys.species; ++k)
    lhs += j == 0 ? sys.surface[s][k] * C[0][k] - sys.surfaceSource[s][k] * C[1][k]
                  : blocks[j][s][k] * C[j][k];
  if (j == 0) return lhs;
  return lhs - sys.lower[j][s] * C[j - 1][s] - sys.upper[j][s] * C[j + 1][s] - sys.previous[j][s];
}

// Every equation of the linear system holds to rounding.
void ExpectSolved(const BlockSystem& sys) {
  for (int j = 0; j <= sys.boxes; ++j)
    for (int s = 1; s <= sys.species; ++s)
      EXPECT_NEAR(Residual(sys, sys.diagonal, j, s), 0.0, 1e-12) << "box " << j << " species " << s;
}

// Coupled and diagonal blocks, one species in one box up to three in seven: the elimination
// solves the equations, and the next step reuses it with a new right-hand side and new surface
// rows.
TEST(SolveLinearStep, SolvesTheBlockEquations) {
  struct Case {
    int species, boxes;
    bool diagonalBlocks;
  };
  for (const Case& c : {Case{3, 7, false}, Case{3, 7, true}, Case{2, 5, false}, Case{2, 5, true},
                        Case{1, 1, true}}) {
    auto sys = CoupledSystem(c.species, c.boxes, c.diagonalBlocks);
    BlockElimination elimination;
    std::vector<std::string> messages;
    const ShowMessage sink = [&](const std::string& m) { messages.push_back(m); };
    SolveLinearStep(*sys, elimination, sink);
    EXPECT_EQ(elimination.diagonal, c.diagonalBlocks);
    ExpectSolved(*sys);
    for (int j = 1; j <= sys->boxes; ++j)
      sys->previous[j] = sys->current[j];
    sys->surface[1][1] += 5.0;
    if (c.species > 1) sys->surface[2][1] -= 1.0;
    SolveLinearStep(*sys, elimination, sink);
    ExpectSolved(*sys);
    EXPECT_TRUE(messages.empty());
  }
}

// A singular 2 x 2 surface block shows the message, as the general inversion does.
TEST(SolveLinearStep, SingularPairShowsTheMessage) {
  auto sys = CoupledSystem(2, 4, true);
  for (int r = 1; r <= 2; ++r) {
    for (int k = 1; k <= 2; ++k) {
      sys->surface[r][k] = 1.0;
      sys->surfaceSource[r][k] = 0.0;
    }
  }
  BlockElimination elimination;
  std::vector<std::string> messages;
  SolveLinearStep(*sys, elimination, [&](const std::string& m) { messages.push_back(m); });
  EXPECT_EQ(messages, std::vector<std::string>{"Error: inverse matrix D=0"});
}

// Residual of the non-linear equations: the linear blocks plus the exact rates of A + B = C.
double SecondOrderResidual(const BlockSystem& sys, const SecondOrderStep& step, int j, int s) {
  const SecondOrderReaction& q = step.reactions[0];
  const SpeciesVector& C = sys.current[j];
  const double rate = q.forward * C[q.reactantA] * C[q.reactantB] - q.backward * C[q.productC];
  const double sign = s == q.productC ? -1.0 : (s == q.reactantA || s == q.reactantB ? 1.0 : 0.0);
  return Residual(sys, step.linearBlocks, j, s) + sign * rate;
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
}

}  // namespace
}  // namespace qalto
