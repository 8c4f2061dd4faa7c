#pragma once
// The analytical sweep solved as a convolution integral equation: builds the surface problem of
// the model's mechanism (species, kernels with their homogeneous chemistry, charge transfers with
// their effective formal potentials, the uncompensated resistance) and writes the currents and
// surface concentrations of every point.

#include "app/model.h"

namespace qalto {

// True for the technique and electrode combinations the convolution serves: linear sweep and
// cyclic voltammetry at planar, spherical, hemispherical and microdisc electrodes.
bool SolvedByConvolution(const Model& model);

// Fills ReactionCurrents (columns 1..ChargeReactionCount and the total column, A) and
// SurfaceConcentrations (M) for points 1..NumberOfPoints. pHterm is (pH - 7) x ln 10.
void RunConvolutionSweep(Model& model, double pHterm);

}  // namespace qalto
