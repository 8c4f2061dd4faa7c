#include "digital/solve_second_order_step.h"

#include <cmath>
#include <utility>

#include "digital/solve_linear_step.h"

namespace qalto {

namespace {

// Adds to block D the rates of A + B = C + D linearised around the estimate E: the forward rate
// k'f C_A C_B is carried by column A with C_B lagged (by column B with C_A lagged in the row of
// B), the backward rate k'b C_C C_D by column C with C_D lagged (by column D with C_C lagged in
// the row of D).
void AddLinearisedRates(const SecondOrderReaction& reaction, const SpeciesVector& E,
                        SpeciesMatrix& D) {
  int A = reaction.reactantA;
  int B = reaction.reactantB;
  int C = reaction.productC;
  int Dp = reaction.productD;
  // A reaction with one reactant (or one product) on a side is first order on that side: the
  // missing partner counts as a factor 1, not as a zero concentration.
  if (A == 0) std::swap(A, B);
  if (C == 0) std::swap(C, Dp);
  const double lagB = B != 0 ? E[B] : 1.0;
  const double lagD = Dp != 0 ? E[Dp] : 1.0;
  const double forwardA = reaction.forward * lagB;    // k'f C_B: forward rate per C_A
  const double backwardC = reaction.backward * lagD;  // k'b C_D: backward rate per C_C
  if (A != 0) {
    D[A][A] += forwardA;
    if (C != 0) D[A][C] -= backwardC;
    if (B != 0) {
      D[B][B] += reaction.forward * E[A];
      if (C != 0) D[B][C] -= backwardC;
    }
  }
  if (C != 0) {
    D[C][C] += backwardC;
    if (A != 0) D[C][A] -= forwardA;
    if (Dp != 0) {
      D[Dp][Dp] += reaction.backward * E[C];
      if (A != 0) D[Dp][A] -= forwardA;
    }
  }
}

void BuildBlocks(BlockSystem& system, const SecondOrderStep& step) {
  const int S = system.species;
  for (int j = 1; j <= system.boxes; ++j) {
    SpeciesMatrix& D = system.diagonal[j];
    const SpeciesMatrix& linear = step.linearBlocks[j];
    for (int r = 1; r <= S; ++r) {
      for (int k = 1; k <= S; ++k)
        D[r][k] = linear[r][k];
    }
    for (int i = 0; i < step.reactionCount; ++i) {
      AddLinearisedRates(step.reactions[i], step.estimate[j], D);
    }
  }
}

// Every relative change |(new - estimate) / new| of boxes 1..N below the tolerance.
bool Converged(const BlockSystem& system, const SecondOrderStep& step) {
  for (int j = 1; j <= system.boxes; ++j) {
    for (int s = 1; s <= system.species; ++s) {
      const double fresh = system.current[j][s];
      const double latest = step.estimate[j][s];
      // A zero new concentration is measured against the estimate; two zeros are unchanged.
      const double scale = fresh != 0.0 ? fresh : latest;
      if (scale == 0.0) continue;
      if (!(std::abs((fresh - latest) / scale) < kSecondOrderTolerance)) return false;
    }
  }
  return true;
}

void TakeAsEstimate(BlockSystem& system, SecondOrderStep& step) {
  for (int j = 1; j <= system.boxes; ++j) {
    for (int s = 1; s <= system.species; ++s) {
      double& value = system.current[j][s];
      if (value < 0.0) value = 0.0;
      step.estimate[j][s] = value;
    }
  }
}

}  // namespace

void KeepLinearBlocks(const BlockSystem& system, SecondOrderStep& step) {
  for (int j = 1; j <= system.boxes; ++j)
    step.linearBlocks[j] = system.diagonal[j];
}

void SolveSecondOrderStep(BlockSystem& system, BlockElimination& elimination, SecondOrderStep& step,
                          int& maxIteration, const ShowMessage& showMessage,
                          const std::function<void()>& solveSurface) {
  for (int j = 1; j <= system.boxes; ++j)
    step.estimate[j] = system.previous[j];
  for (int iteration = 1; iteration <= kMaxSecondOrderIterations; ++iteration) {
    if (iteration > maxIteration) maxIteration = iteration;
    BuildBlocks(system, step);
    elimination.ready = false;
    SweepInward(system, elimination, showMessage);
    if (solveSurface) {
      solveSurface();
    } else {
      SolveSurface(system, elimination, showMessage);
    }
    SubstituteOutward(system, elimination);
    if (Converged(system, step)) return;
    TakeAsEstimate(system, step);
  }
}

}  // namespace qalto
