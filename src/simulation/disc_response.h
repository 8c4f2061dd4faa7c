#pragma once
// The analytical microdisc. With Nernstian couples whose two species diffuse alike, the surface
// concentrations are the same all over the disc and follow the potential at once, so the current
// is the superposition (Duhamel) of the disc's step responses 4nFDa f(4Dt/a^2) (disc_transient.h)
// over the potential history of the technique, exactly. Anything else at a disc (slow charge
// transfer, chemistry, unequal diffusion, an ohmic drop) has no exact analytical model.

#include "model/model.h"

namespace qalto {

// True when the present experiment at the microdisc is computed exactly: independent couples
// (mechanisms 1, 4, 5) of one O and one R each, Nernstian at the run's shortest time and at the
// steady state, O and R diffusing alike, no uncompensated resistance.
bool DiscResponseIsExact(const Model& model);

// Writes ReactionCurrents (each reaction and the total; at the square wave also the forward and
// reverse currents in the two columns after the total) and SurfaceConcentrations for points
// 1..NumberOfPoints; pHterm is (pH - 7) x 2.3.
void RunDiscResponse(Model& model, double pHterm);

// The same for the potential steps of chronoamperometry, with PassedCharge (C): each jump of the
// surface concentration adds its step response 4nFDa f and its charge (4nFDa / kappa) F.
void RunDiscSteps(Model& model, double pHterm);

}  // namespace qalto
