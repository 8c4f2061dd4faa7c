#pragma once
// The flow toward a rotating electrode in the one-dimensional convective-diffusion model: a
// normal velocity v(x) = -a x^2 at the distance x from the surface. Its steady flux to a surface
// held at zero concentration is D C* / (Gamma(4/3) (3D/a)^1/3), so a is chosen to give each
// geometry its accepted mass-transfer coefficient k_m: a = 3 D (k_m Gamma(4/3) / D)^3.
//   rotating disk (Levich): a = 0.51023 w^3/2 nu^-1/2, k_m = 0.62045 D^2/3 w^1/2 nu^-1/6;
//   rotating hemisphere (Chin): the mean k_m = 0.474 D^2/3 w^1/2 nu^-1/6 over the area 2 pi r^2;
//   rotating cylinder (Eisenberg, Tobias and Wilke, turbulent): k_m = 0.0791 U^0.7 d^-0.3
//   nu^-0.344 D^0.644 (cm, s), U = w r the peripheral velocity, d = 2 r.
// These coefficients hold for diffusion layers thin against the radius, curvature included, so
// the model is planar at every rotating electrode.

#include "model/experiment_table.h"
#include "model/model.h"

namespace qalto {

// The rotating geometry of an electrode, kNone for one that does not rotate.
inline RotatingGeometry RotatingGeometryOf(Electrode electrode) {
  return RowOf(electrode).rotation;
}

// a of the model's electrode, 1/(cm s); 0 at an electrode that does not rotate. One flow for all
// species; the cylinder's is fitted to the D of species 1.
double FlowCoefficient(const Model& model);

// The steady mass-transfer coefficient of a species of diffusion coefficient D (cm2/s) in the
// flow a (1/(cm s)): D / (Gamma(4/3) (3D/a)^1/3), cm/s.
double SteadyMassTransfer(double a, double D);

// The diffusion layer of the model's flow relative to that of a disk at the same rotation rate
// and viscosity, (a_disk / a)^1/3: 1 at the disk.
double LayerScale(const Model& model);

// Reynolds number of a rotating cylinder, U d / nu = 2 w r^2 / nu.
double CylinderReynolds(const Model& model);

}  // namespace qalto
