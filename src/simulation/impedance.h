#pragma once
// The small-signal impedance of a cell with one charge reaction O + ne = R (Butler-Volmer
// kinetics) at a DC potential, in the frequency domain: the faradaic impedance of the
// linearised kinetics and diffusion, parallel to the double-layer capacitance, in series with
// the uncompensated resistance. Exact for semi-infinite planar diffusion, a sphere, and a layer
// of finite thickness closed by a wall (thin layer) or open to the bulk (Nernst layer).

#include <complex>
#include <vector>

namespace qalto {

enum class DiffusionField { kPlanar, kSphere, kThinLayer, kNernstLayer };

struct ImpedanceCell {
  double n = 1;
  double area = 1;              // cm2
  double temperature = 298.15;  // K
  double potential = 0;         // V, the DC potential
  double formalPotential = 0;   // V
  double ks = 1e4;              // cm/s
  double alpha = 0.5;
  double dO = 1e-5, dR = 1e-5;  // cm2/s
  double cO = 1e-3, cR = 0;     // mol/L, bulk
  double ru = 0;                // ohm
  double cd = 0;                // F
  DiffusionField field = DiffusionField::kPlanar;
  double length = 0;  // cm: the sphere's radius, or the layer's thickness
};

// The surface concentrations (mol/L) of the DC steady state: no current through a thin layer
// or, at a planar electrode, the long-time limit of the step to the DC potential (Nernstian,
// with the flux balance of semi-infinite diffusion); the steady current's balance of kinetics
// and mass transfer at a sphere or through a Nernst layer.
struct SurfaceState {
  double cO = 0, cR = 0;
};
SurfaceState DcSurfaceState(const ImpedanceCell& cell);

// Z = Z' + j Z'' in ohm at the frequency (Hz), with the sign of the usual Nyquist plot
// (Z'' < 0 for a capacitive cell).
std::complex<double> CellImpedance(const ImpedanceCell& cell, double frequency);

// Frequencies from `from` to `to` (Hz, either order), `perDecade` points a decade on a
// logarithmic scale, both ends included.
std::vector<double> FrequencyGrid(double from, double to, int perDecade);

}  // namespace qalto
