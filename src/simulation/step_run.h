#pragma once
// The analytical chronoamperogram: the potential steps solved as the convolution integral
// equation of the electrode's diffusion (planar, spherical, hemispherical), or at the microdisc
// as the superposition of the disc's step responses.

#include "model/model.h"

namespace qalto {

// Fills ReactionCurrents (each reaction and the total, A), SurfaceConcentrations (M) and
// PassedCharge (C) for points 1..NumberOfPoints of the step program; pHterm is (pH - 7) ln 10.
void RunStepResponse(Model& model, double pHterm);

}  // namespace qalto
