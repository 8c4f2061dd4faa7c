#pragma once
// Finite-difference simulation of the experiment: diffusion, convection at rotating electrodes,
// homogeneous reactions and Butler-Volmer kinetics of up to 3 charge reactions, for the
// potential axis already built in PotentialX.

#include "common/typed_number.h"
#include "digital/show_message.h"
#include "model/model.h"

namespace qalto {

// What the simulation takes from the forms besides the model.
struct DigitalInputs {
  TypedNumber expandingGrid;  // Instrument form "Expanding grid"
  TypedNumber pH;             // Chemicals form "pH"
  int refinement = 1;         // 2: first box and every time step halved, to estimate the error
};

// Writes ReactionCurrents (each reaction, the total with charging and ohmic drop; for the square
// wave the net current, and the forward and reverse currents in the two columns after it),
// SurfaceConcentrations and MaxIteration for points 1..NumberOfPoints. showMessage is told of
// a singular block ("Error: inverse matrix D=0"), after which the run goes on.
// Failures (a grid of more than 200 points, indexes outside the tables, zero times or steps)
// raise RuntimeError.
void SimulateDigital(Model& model, const DigitalInputs& inputs, const ShowMessage& showMessage);

}  // namespace qalto
