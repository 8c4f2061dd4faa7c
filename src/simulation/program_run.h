#pragma once
// The potential program (technique 8) in the analytical model: the convolution integral
// equation of the electrode's diffusion solved on the program's own time grid, with the
// double layer charged through the uncompensated resistance as a sweep's is.

#include <optional>

#include "model/model.h"
#include "simulation/program_samples.h"

namespace qalto {

// Sets NumberOfPoints, SweepPoints, PotentialX (the potential of each sample, V; point 0 the
// rest) and PointTimes (s) from the program sampled every SampleTime, or from its rows where it
// is sampled at them. Raises what SampleProgram raises for a program that cannot be sampled.
void BuildProgramAxis(Model& model);

// A program sampled at its rows (program_samples.h): its RowGrid, after checking that the
// model's NumberOfPoints are its rows (the axis of a fit is the measured curve's) and raising
// what SampleProgram raises for rows it refuses; nothing for every other run.
std::optional<RowGrid> RowGridOfRun(const Model& model);

// After a run of the RowGrid's points (NumberOfPoints its count where the rows are off it):
// the currents (every column) and the surface concentrations at the rows' instants,
// interpolated linearly between the grid's points around each, NumberOfPoints the rows' (the
// caller keeps SweepPoints), and PointTimes the rows' times (point 0 the end of the rest).
void TakeRowInstants(Model& model, const RowGrid& grid);

// Fills ReactionCurrents (each reaction and the total with charging, A) and
// SurfaceConcentrations (M) for points 1..NumberOfPoints; pHterm is (pH - 7) ln 10.
void RunProgramConvolution(Model& model, double pHterm);

}  // namespace qalto
