#pragma once
// The analytical sweep solved as a convolution integral equation: builds the surface problem of
// the model's mechanism (species, kernels with their homogeneous chemistry, charge transfers with
// their effective formal potentials, the uncompensated resistance) and writes the currents and
// surface concentrations of every point.

#include <functional>

#include "model/model.h"
#include "simulation/convolution_solver.h"

namespace qalto {

// True for the cases the convolution serves, at planar, spherical, hemispherical and microdisc
// electrodes: every linear sweep and cyclic voltammogram; DC, normal and differential pulse
// waves with consecutive transfers, homogeneous chemistry or an uncompensated resistance, and
// the pulses of a slow couple.
bool SolvedByConvolution(const Model& model);

// Fills ReactionCurrents (columns 1..ChargeReactionCount and the total column, A) and
// SurfaceConcentrations (M) for points 1..NumberOfPoints. pHterm is (pH - 7) x ln 10.
void RunConvolution(Model& model, double pHterm);

// The time grid of one solve.
struct TimeGrid {
  double dt = 0;              // s
  int count = 0;              // points
  bool sweep = true;          // smooth current (hat weights) or potential steps (step integrals)
  int exact = kExactWeights;  // weights computed one by one, the rest through exponentials
};

// The surface problem of the model's mechanism on the grid.
ConvolutionProblem BuildConvolutionProblem(const Model& model, double pHterm, const TimeGrid& grid);

// Writes point i: the currents of the reactions (A, by 0-based reaction), their sum into the
// total column, and the surface concentrations (M, by 0-based species).
void StoreConvolutionPoint(Model& model, int i, const std::function<double(int)>& current,
                           const std::function<double(int)>& surface);

}  // namespace qalto
