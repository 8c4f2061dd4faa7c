#pragma once
// The part of the block elimination that depends on the blocks only, not on the right-hand side.

#include "digital/block_system.h"
#include "digital/show_message.h"

namespace qalto {

// From box N down to box 1: forms the block to eliminate from the diagonal block of box j and
// the elimination coefficients of box j+1, inverts it with InvertMatrix and keeps the inverse;
// then forms the coupling of the surface rows to the surface concentrations through box 1.
void EliminateBlocks(const BlockSystem& system, BlockElimination& elimination,
                     const ShowMessage& showMessage);

}  // namespace qalto
