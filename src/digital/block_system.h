#pragma once
// The equations of one implicit time step of the digital simulation. In box j of the grid every
// species s obeys
//   -a(s, j) C(s, j-1) + sum over k of D_j(s, k) C(k, j) - c(s, j) C(s, j+1) = C_old(s, j),
// where the diagonal block D_j holds 1 + a + c on its diagonal and the homogeneous reaction
// terms. Box 0 is the electrode surface, whose concentrations obey the surface rows
//   surface . C(0) = surfaceSource . C(1)
// (heterogeneous fluxes against diffusion from box 1); box N+1 keeps the bulk values.

#include "digital/species_matrix.h"

namespace qalto {

// Where C_old, the right-hand side of a step, comes from: the table previous, or, read as the
// step sweeps inward (before its outward substitution overwrites current), the concentrations in
// current (a backward-Euler step in place) or the blend newer C(n) + older C(n-1) of current and
// the profile before it, which the sweep then replaces by C(n).
struct StepStart {
  enum class From { kPrevious, kCurrent, kBlend };
  From from = From::kPrevious;
  double newer = 1;
  double older = 0;
  std::array<SpeciesVector, kGridSlots>* before = nullptr;  // kBlend: C(n-1), M
};

// The box tables are not cleared on construction (a value-initialised system, make_unique<T>(),
// is): whoever fills a system clears the boxes 0..N+1 it uses.
struct BlockSystem {
  int species = 0;                                 // S: block size, 1..8
  int boxes = 0;                                   // N: boxes 1..N are solved, 1..199
  std::array<SpeciesVector, kGridSlots> lower;     // a(s, j): coupling of box j to box j-1
  std::array<SpeciesVector, kGridSlots> upper;     // c(s, j): coupling of box j to box j+1
  std::array<SpeciesMatrix, kGridSlots> diagonal;  // D_j
  SpeciesMatrix surface{};        // surface rows, acting on the surface concentrations
  SpeciesMatrix surfaceSource{};  // right-hand side of the surface rows, acting on box 1
  std::array<SpeciesVector, kGridSlots> previous;  // C_old(s, j) for j = 1..N, M
  std::array<SpeciesVector, kGridSlots> current;   // C(s, j), j = 0 (surface)..N+1 (bulk), M
  StepStart start;
};

// Tables of one value per species and box, packed by the species count S: (s, j) at j S + s,
// s = 0..S-1.
using PackedBoxes = std::array<double, kGridSlots * kMaxSpecies>;

// The block elimination of a BlockSystem, run from the outer edge toward the electrode:
// C(j) = E_j C(j-1) + f_j with E_j = inverse_j diag(a(., j)).
struct BlockElimination {
  bool ready = false;     // inverse and surfaceCoupling belong to the present blocks
  bool diagonal = false;  // every block diagonal: the species are coupled only at the surface
  std::array<SpeciesMatrix, kGridSlots> inverse;  // (D_j - diag(c_j) E_{j+1})^-1
  std::array<SpeciesMatrix, kGridSlots> outward;  // E_j = inverse_j diag(a_j)
  // With diagonal blocks only the diagonals, packed: inverse_j(s, s), inverse_j(s, s) c(s, j),
  // E_j(s, s) and f(s, j).
  PackedBoxes packedPivot;
  PackedBoxes packedInward;
  PackedBoxes packedOutward;
  PackedBoxes packedOffset;
  std::array<SpeciesVector, kGridSlots> offset;  // f_j (with diagonal blocks f_1 only)
  SpeciesVector surfaceRhs{};                    // surfaceSource f_1
  SpeciesMatrix surfaceCoupling{};               // surfaceSource . E_1
  SpeciesMatrix work{};                          // the surface block being inverted
};

}  // namespace qalto
