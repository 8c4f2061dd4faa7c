#pragma once
// Chronoamperometric and steady-state currents of one quasi-reversible (Butler-Volmer) charge
// transfer at a potential step, per unit A x F: planar and spherical diffusion, the rotating
// electrodes, and the surface concentrations at a planar electrode.

#include "model/model.h"
#include "simulation/kinetic_arguments.h"

namespace qalto {

// Quantities every kinetic response is built from, at the potential of the arguments.
struct KineticRates {
  double theta = 0;   // n f (E - E0), dimensionless
  double kf = 0;      // reduction rate constant, cm/s
  double kb = 0;      // oxidation rate constant, cm/s
  double lambda = 0;  // kf / sqrt(DO) + kb / sqrt(DR), 1/s^1/2
  double phi = 0;     // kinetic current factor n (kf CO / nuO - kb CR / nuR), M cm/s
};

// Reads FOverRT.
KineticRates ComputeKineticRates(const Model& model, const KineticArguments& args);

// Current after a potential step to E at a planar electrode: phi W(lambda sqrt(t)).
double PlanarKineticCurrent(const Model& model, const KineticArguments& args);

// Net flux integral (kf CO - kb CR) (1 - W(lambda sqrt(t))) / lambda at a planar electrode, M cm.
double SurfaceFluxTerm(const Model& model, const KineticArguments& args);

// Surface concentrations (M) at a planar electrode, from the arguments or from a flux term
// already computed for them.
double SurfaceConcentrationOx(const Model& model, const KineticArguments& args);
double SurfaceConcentrationRed(const Model& model, const KineticArguments& args);
double SurfaceConcentrationOxFromFlux(const KineticArguments& args, double fluxTerm);
double SurfaceConcentrationRedFromFlux(const KineticArguments& args, double fluxTerm);

// Current after a potential step at a sphere of radius Radius (also hemisphere and microdisc,
// with the equivalent radius). Reads FOverRT and Radius.
double SphericalKineticCurrent(const Model& model, const KineticArguments& args);

// Steady current at the rotating disk, Koutecky-Levich form with the Levich constant.
// Reads FOverRT, KinematicViscosity and RotationRate.
double RotatingDiskCurrent(const Model& model, const KineticArguments& args);

// Steady current at a rotating cylinder or hemisphere, the same Koutecky-Levich form with each
// species' steady mass-transfer coefficient in the flow of the digital simulation
// (digital/rotating_flow.h), so that both simulations share one plateau. Reads FOverRT,
// Electrode, Radius, KinematicViscosity, RotationRate and SpeciesD(1).
double RotatingFlowCurrent(const Model& model, const KineticArguments& args);

// Share of the reduced form at the surface under Nernstian equilibrium, 1 / (exp(n f (E - E0)) +
// 1). Reads FOverRT.
double NernstReducedFraction(const Model& model, const KineticArguments& args);

}  // namespace qalto
