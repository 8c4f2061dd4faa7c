#pragma once
// Square-wave and additive square-wave voltammetry at planar, spherical, hemispherical and
// microdisc electrodes, from the program's own waveform: on each step of the staircase the
// potential is held for one half period tp (PulseTime) one half amplitude h = |PulsePotential| / 2
// ahead in the scan direction (forward), then tp h behind it (reverse); the currents are sampled
// at the end of each half period. Square wave: forward - reverse (cathodic positive, so that a
// reduction scanned negative peaks positive); additive square wave: forward + reverse.

#include "model/model.h"

namespace qalto {

bool SquareWaveByConvolution(const Model& model);

// Sub-steps per half period of the coarsest of the general solution's three grids, or 0 where the
// Nernstian closed form (exact) serves. pHterm is (pH - 7) x ln 10.
int SquareWaveSubsteps(const Model& model, double pHterm);

// Fills ReactionCurrents (reaction columns and total, A) and SurfaceConcentrations (M, at the end
// of each step) for points 1..NumberOfPoints. pHterm is (pH - 7) x ln 10.
void RunSquareWave(Model& model, double pHterm);

}  // namespace qalto
