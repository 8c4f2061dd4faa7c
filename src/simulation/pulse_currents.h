#pragma once
// Currents of the pulse techniques, per unit A x F, built from the potential-step responses by
// superposition: differences of currents at two potentials or two times (differential pulse,
// square wave at spherical electrodes) and weighted sums over the earlier steps of the staircase
// (square wave and additive square wave).

#include "app/model.h"
#include "simulation/kinetic_arguments.h"
#include "simulation/staircase_history.h"

namespace qalto {

// (f(E + P, t) - f(E, t)) + f(E, DropTime) - f(E, DropTime - t), f the planar step response;
// P is the signed pulse. Reads FOverRT and DropTime.
double DifferentialPulsePlanarCurrent(const Model& model, const KineticArguments& args);
// The same with the spherical step response. Reads FOverRT, Radius and DropTime.
double DifferentialPulseSphericalCurrent(const Model& model, const KineticArguments& args);

// Staircase square wave at a planar electrode at point i (the driver doubles it). Reads
// FOverRT, PotentialX, SweepPoints, StartPotential, EndPotential and PotentialStep; the history
// keeps the responses to the earlier steps between the points of a run.
double SquareWavePlanarCurrent(const Model& model, const KineticArguments& args, int i,
                               StaircaseHistory& history);

// g(E + P) - g(E), g the spherical step response (the driver passes E0 + P/2 and scales by 2.4).
double SquareWaveSphericalCurrent(const Model& model, const KineticArguments& args);

// Additive square wave at a planar electrode, Nernstian, at point i; the history starts 100
// steps before the start potential. Reads FOverRT, StartPotential, PotentialStep and
// SweepDirection.
double AdditiveSquareWavePlanarCurrent(const Model& model, const KineticArguments& args, int i,
                                       StaircaseHistory& history);

// Additive square wave at a spherical electrode at point i, with the kinetic spherical response.
double AdditiveSquareWaveSphericalCurrent(const Model& model, const KineticArguments& args, int i,
                                          StaircaseHistory& history);

}  // namespace qalto
