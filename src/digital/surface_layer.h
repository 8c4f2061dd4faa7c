#pragma once
// The adsorbed layer at the electrode. A species named "X(ads)" lives on the surface: it does
// not diffuse, its amount is the surface concentration Gamma, and it changes only by the
// reactions at the surface:
//   - charge reactions between two adsorbed species (surface couples, ks in 1/s);
//   - first-order rows between a dissolved and an adsorbed species (adsorption steps), with
//     r = kf C (1 - theta) e^(g theta) - kb Gamma e^(-g theta), kf in cm/s, kb in 1/s, theta the
//     layer's coverage sum(Gamma) / Gamma max: at equilibrium the Frumkin isotherm
//     K C = theta / (1 - theta) e^(-2 g theta), K = kf / (kb Gamma max), Langmuir's at g = 0;
//   - first-order rows between two adsorbed species (rates in 1/s).
// A surface couple O(ads) + n e = R(ads) feels the layer's interaction as Frumkin's isotherm in
// the oxidized fraction x = Gamma O / (Gamma O + Gamma R) (R taking the place of the empty site):
// its rates are those at E - g (1 - 2x) RT/(nF), so that at equilibrium
//   nF (E - E0)/RT = ln(x / (1 - x)) + g (1 - 2x),
// Laviron's interaction parameter g = nu Gamma T: g > 0 (attraction) narrows the reversible
// peak, g < 0 (repulsion) broadens it, and at g = 2 the layer splits into two phases.
//
// In the run Gamma is held in M cm (1000 x mol/cm2), so that its rate of change is a flux in
// M cm/s like the dissolved species' fluxes. Each implicit step solves the surface: the fluxes
// of the dissolved species g (C(0) - C(1)) and the change of each Gamma (Gamma - Gamma start)/dt
// balance the net production of all surface reactions, by Newton's method on the surface
// concentrations once the interior is swept inward (C(1) = E1 C(0) + f1).

#include <optional>
#include <string>
#include <vector>

#include "digital/block_system.h"
#include "digital/charge_transfer.h"
#include "model/model.h"

namespace qalto {

inline constexpr double kGammaPerMolPerCm2 = 1000.0;  // M cm per mol/cm2

// A first-order row that takes place at the surface: X = Y with at least one adsorbed.
struct LayerReaction {
  int x = 0;
  int y = 0;
  double kf = 0;  // 1/s, or cm/s for the adsorption of a dissolved X
  double kb = 0;  // 1/s, or cm/s for the adsorption of a dissolved Y
};

struct SurfaceLayer {
  bool active = false;
  std::array<bool, kSpeciesSlots> adsorbed{};
  double saturation = 0;   // M cm
  double interaction = 0;  // g
  std::vector<LayerReaction> reactions;
  bool linear = true;  // no adsorption step and no interaction: one Newton step is exact
};

// What makes the mechanism one the layer cannot simulate, as a sentence; nothing when it can
// (or has no adsorbed species).
std::optional<std::string> SurfaceLayerProblem(const Model& model);

// Whether first-order reaction i takes place at the surface (involves an adsorbed species).
bool IsSurfaceStep(const Model& model, int i);

SurfaceLayer ReadSurfaceLayer(const Model& model);

// Solves the surface concentrations of a step swept inward (elimination's surfaceCoupling and
// surfaceRhs at the surface conductances on the diagonal of surfaceSource) with the electrode
// at E (V), starting Newton's method from the system's surface concentrations; raises "Division
// by zero" for a singular surface.
void SolveLayerSurface(const SurfaceLayer& layer, const ChargeTransfer& transfer, double E,
                       BlockSystem& system, const BlockElimination& elimination);

// The current of each charge reaction (A) at the surface concentrations with the electrode at E.
void LayerCurrents(const SurfaceLayer& layer, const ChargeTransfer& transfer, double E,
                   const SpeciesVector& surface, double currentScale,
                   std::array<double, kMaxChargeReactions + 1>& out);

}  // namespace qalto
