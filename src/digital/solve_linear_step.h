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

}  // namespace qalto
