#pragma once
// One implicit time step when the chemistry is linear (first-order reactions only).

#include "digital/block_system.h"
#include "digital/show_message.h"

namespace qalto {

// Writes the new concentration of every species in boxes 0 (surface) to N of system.current;
// box N+1 of system.current holds the bulk and is not changed. The blocks are eliminated at the
// first call (EliminateBlocks), since they stay the same from step to step as long as
// elimination.ready is kept; every call then sweeps the right-hand side inward, solves the
// surface rows and substitutes outward. A non-finite concentration raises "Overflow".
void SolveLinearStep(BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage);

// The same step in its three stages, for a caller that solves the surface rows more than once
// (an ohmic drop moves the rates with the current): SweepInward once, SolveSurface after every
// change of the surface rows (it writes the surface concentrations C(0) only), SubstituteOutward
// once at the end.
void SweepInward(BlockSystem& system, BlockElimination& elimination,
                 const ShowMessage& showMessage);
void SolveSurface(BlockSystem& system, BlockElimination& elimination,
                  const ShowMessage& showMessage);
void SubstituteOutward(BlockSystem& system, const BlockElimination& elimination);

// SolveSurface in two halves: the inverse of the surface block, which needs the surface rows and
// the eliminated blocks but not the right-hand side, so it may come before SweepInward; then
// C(0) from that inverse once SweepInward has formed the right-hand side.
void InvertSurfaceRows(BlockSystem& system, BlockElimination& elimination,
                       const ShowMessage& showMessage);
void SolveSurfaceByInverse(BlockSystem& system, const BlockElimination& elimination);

// out = (surface - surfaceSource E_1)^-1 rhs with the surface block of the last SolveSurface:
// how the surface concentrations answer a change of the surface rows' right-hand side.
void SurfaceResponse(const BlockSystem& system, const BlockElimination& elimination,
                     const SpeciesVector& rhs, SpeciesVector& out);

}  // namespace qalto
