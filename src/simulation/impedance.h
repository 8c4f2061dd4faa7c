#pragma once
// The small-signal impedance of a cell at a DC potential, in the frequency domain: charge
// reactions O + ne = R with Butler-Volmer kinetics between diffusing species, linearised about
// the DC surface state, with first-order homogeneous reactions between them (CE, EC, EC');
// their faradaic admittance parallel to the double-layer capacitance, in series with the
// uncompensated resistance. Exact for semi-infinite planar diffusion, a sphere, and a layer of
// finite thickness closed by a wall (thin layer) or open to the bulk (Nernst layer). Reactions
// that share a species (A + e = B, B + e = C) are solved together.

#include <complex>
#include <vector>

#include "simulation/impedance_diffusion.h"

namespace qalto {

// How long the DC potential is held before the spectrum when there is chemistry, s: long enough
// that the surface is within some 1e-6 of the long-time limit at a couple of ks 1e-3 cm/s.
inline constexpr double kDcHoldTime = 1e12;

struct ImpedanceReaction {
  int oxidized = 0;  // index into the cell's species
  int reduced = 1;
  double n = 1;
  double ks = 1e4;  // cm/s
  double alpha = 0.5;
  double formalPotential = 0;  // V, with any pH shift in it
  // Marcus-Hush-Chidsey kinetics in place of alpha: the reorganisation energy in units of RT/F
  // (marcus_hush_rate.h); 0: Butler-Volmer.
  double reorganisation = 0;
};

struct ImpedanceCell {
  std::vector<ImpedanceSpecies> species;
  std::vector<ImpedanceReaction> reactions;
  // Each species reacting with at most one other (impedance_diffusion.h).
  std::vector<ImpedanceChemistry> chemistry;
  double area = 1;              // cm2
  double temperature = 298.15;  // K
  double potential = 0;         // V, the DC potential
  double ru = 0;                // ohm
  double cd = 0;                // F
  DiffusionField field = DiffusionField::kPlanar;
  double length = 0;  // cm: the sphere's radius, or the layer's thickness
};

// The cell of one couple O + ne = R with the given bulk concentrations (mol/L) and D (cm2/s).
ImpedanceCell CoupleCell(double cO, double cR, double dO = 1e-5, double dR = 1e-5);

// The surface concentrations (mol/L, one per species) of the DC state: every couple Nernstian
// where the current of a held potential dies away (planar diffusion in the long-time limit,
// with the flux balance of semi-infinite diffusion; a closed thin layer at equilibrium); the
// steady current's balance of kinetics and mass transfer at a sphere or through a Nernst layer.
// With chemistry, the state after holding the potential for kDcHoldTime: the steady flux of a
// catalytic cycle beside the fluxes that die away. A steady current moves the interface's
// potential from E dc by its drop through Ru; the kinetics are linearised there.
std::vector<double> DcSurfaceState(const ImpedanceCell& cell);

// Z = Z' + j Z'' in ohm at each frequency (Hz), with the sign of the usual Nyquist plot
// (Z'' < 0 for a capacitive cell). A cell without any admittance (no capacitance, no
// reactant at the surface) has an infinite Z''.
std::vector<std::complex<double>> CellImpedance(const ImpedanceCell& cell,
                                                const std::vector<double>& frequencies);
std::complex<double> CellImpedance(const ImpedanceCell& cell, double frequency);

// Frequencies from `from` to `to` (Hz, either order), `perDecade` points a decade on a
// logarithmic scale, both ends included, in the order given (instruments sweep downward).
std::vector<double> FrequencyGrid(double from, double to, int perDecade);

}  // namespace qalto
