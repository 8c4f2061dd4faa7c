#pragma once
// The potential program (technique 8) in the analytical model: the convolution integral
// equation of the electrode's diffusion solved on the program's own time grid, with the
// double layer charged through the uncompensated resistance as a sweep's is.

#include "model/model.h"

namespace qalto {

// Sets NumberOfPoints, SweepPoints, PotentialX (the potential of each sample, V; point 0 the
// rest) and PointTimes (s) from the program sampled every SampleTime. Raises what SampleProgram
// raises for a program that cannot be sampled.
void BuildProgramAxis(Model& model);

// Fills ReactionCurrents (each reaction and the total with charging, A) and
// SurfaceConcentrations (M) for points 1..NumberOfPoints; pHterm is (pH - 7) ln 10.
void RunProgramConvolution(Model& model, double pHterm);

}  // namespace qalto
