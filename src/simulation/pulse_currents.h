#pragma once
// Currents of the differential pulse, per unit A x F, built from the potential-step responses by
// superposition: differences of currents at two potentials and two times.

#include "model/model.h"
#include "simulation/kinetic_arguments.h"

namespace qalto {

// (f(E + P, t) - f(E, t)) + f(E, DropTime) - f(E, DropTime - t), f the planar step response;
// P is the signed pulse. Reads FOverRT and DropTime.
double DifferentialPulsePlanarCurrent(const Model& model, const KineticArguments& args);
// The same with the spherical step response. Reads FOverRT, Radius and DropTime.
double DifferentialPulseSphericalCurrent(const Model& model, const KineticArguments& args);

}  // namespace qalto
