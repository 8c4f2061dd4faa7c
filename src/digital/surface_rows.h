#pragma once
// The surface boundary rows: one equation per species for its concentration at the electrode
// surface, balancing the heterogeneous fluxes of the charge reactions against diffusion from
// box 1 through the surface conductance g = D / (delta h(1)) (cm/s):
//   surface . C(0) = surfaceSource . C(1).

#include "digital/charge_transfer.h"

namespace qalto {

struct SurfaceRows {
  int species = 0;
  bool chain = false;  // three charge reactions 1 -> 2 -> 3 -> 4 in order
  std::array<bool, kMaxChargeReactions + 1> oxidizedRow{};  // reaction r writes the row of O
  std::array<bool, kSpeciesSlots> written{};  // rows written by the kinetics of one reaction
  SpeciesVector g{};                          // surface conductance of each species, cm/s
};

// Decides once per run which row each charge reaction writes; g holds the conductances.
SurfaceRows PlanSurfaceRows(const ChargeTransfer& transfer, int species, const SpeciesVector& g);

// The right-hand side of the rows: each row's own conductance times the concentration in box 1.
void WriteSurfaceSource(const SurfaceRows& plan, const ChargeTransfer& transfer,
                        SpeciesMatrix& source);

// The rows at the rate factors of one sub-step.
void WriteSurfaceRows(const SurfaceRows& plan, const ChargeTransfer& transfer,
                      const ChargeRates& rates, SpeciesMatrix& surface);

}  // namespace qalto
