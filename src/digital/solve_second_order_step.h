#pragma once
// One implicit time step when second-order reactions make the chemistry non-linear: the rates
// are linearised around the latest estimate of the concentrations and the step is repeated until
// the estimate settles.

#include <functional>

#include "digital/block_system.h"
#include "digital/show_message.h"

namespace qalto {

inline constexpr int kMaxSecondOrderReactions = 8;
inline constexpr int kMaxSecondOrderIterations = 10;
inline constexpr double kSecondOrderTolerance = 0.001;  // relative change of an estimate

// A + B = C + D; species 0 means none.
struct SecondOrderReaction {
  int reactantA = 0;
  int reactantB = 0;
  int productC = 0;
  int productD = 0;
  double forward = 0;   // k'f = time step x kf, 1/M
  double backward = 0;  // k'b = time step x kb, 1/M
};

struct SecondOrderStep {
  int reactionCount = 0;
  std::array<SecondOrderReaction, kMaxSecondOrderReactions> reactions{};
  std::array<SpeciesMatrix, kGridSlots> linearBlocks;  // diagonal blocks without these reactions
  std::array<SpeciesVector, kGridSlots> estimate;      // latest estimate of C(s, j), M
};

// Copies the diagonal blocks of the system (diffusion and first-order reactions) as the linear
// part that every iteration starts from; call once the blocks are built.
void KeepLinearBlocks(const BlockSystem& system, SecondOrderStep& step);

// Solves the step as SolveLinearStep does, up to 10 times, each time with the second-order
// terms of the latest estimate added to the linear blocks; raises maxIteration to the largest
// iteration count used. solveSurface, when given, takes the place of SolveSurface in every
// iteration (it may rewrite the surface rows and solve them more than once).
void SolveSecondOrderStep(BlockSystem& system, BlockElimination& elimination, SecondOrderStep& step,
                          int& maxIteration, const ShowMessage& showMessage,
                          const std::function<void()>& solveSurface = {});

}  // namespace qalto
