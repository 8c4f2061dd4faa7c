#pragma once
// The surface problem of an electrode driven by any potential waveform, solved as the convolution
// integral equation of diffusion (Nicholson and Shain): the surface concentration of every
// species is its bulk value plus the step-integral weights of its kernel times the history of
// the currents that make or consume it, Butler-Volmer kinetics hold at every point, and the
// ohmic drop enters the interfacial potential implicitly. One linear solve per point without
// resistance, a secant iteration on the ohmic drop with it. On equal steps the history sums run
// through the kernels' exponentials: the whole curve costs O(N) (a few hundred multiply-adds per
// point and kernel); a grid of unequal steps sums its history directly, O(N^2).

#include <span>
#include <vector>

#include "simulation/convolution_weights.h"

namespace qalto {

// One dissolved species at the surface.
struct ConvolutionSpecies {
  double bulk = 0;   // bulk concentration, M
  double sqrtD = 0;  // square root of the diffusion coefficient, cm/s^1/2
  int kernel = 0;    // index of its step-integral weights in ConvolutionProblem::kernels
};

// One charge transfer nuO ox + n e = nuR red at the rate u = kf C(ox) / nuO - kb C(red) / nuR,
// kf = ks exp(-alpha xi / nuO), kb = ks exp((1 - alpha) xi / nuR), xi = n f (E - E0): it consumes
// nuO u of ox and makes nuR u of red, and carries the current n F A u.
struct ConvolutionReaction {
  int ox = 0;        // index of the oxidized species
  int red = 0;       // index of the reduced species
  double nuO = 1;    // stoichiometric coefficient of the oxidized species
  double nuR = 1;    // stoichiometric coefficient of the reduced species
  double n = 1;      // electrons
  double ks = 0;     // standard rate constant, cm/s
  double alpha = 0;  // transfer coefficient
  double E0 = 0;     // formal potential, V
  // Marcus-Hush-Chidsey kinetics in place of alpha: the reorganisation energy in units of RT/F
  // (kred = ks I(L, xi) / I(L, 0), kb = kf e^xi, marcus_hush_rate.h); 0: Butler-Volmer.
  double reorganisation = 0;
};

struct ConvolutionProblem {
  std::vector<ConvolutionSpecies> species;
  std::vector<ConvolutionReaction> reactions;
  // Equal steps: exact weights for at least N points or exponentials beyond them; a step grid:
  // stepEnds.back() exact weights.
  std::vector<KernelWeights> kernels;
  // Empty: N equal steps. Otherwise step n ends at stepEnds[n] units of the kernels' step (their
  // weights then being step integrals over one unit), so that steps of unequal length share one
  // set of weights.
  std::vector<int> stepEnds;
  double fOverRT = 0;     // F / (R T), 1/V
  double AF = 0;          // A x F x 0.001, A per (M cm/s)
  double resistance = 0;  // uncompensated resistance, ohm
  // Double-layer charging of a sweep, in series with the faradaic current through the
  // resistance: the capacitance (F) at each applied potential, the step of the applied potential
  // that each point takes (V, signed: the sweep's direction at a turn, 0 while it holds) and the
  // time of one point (s). Empty: no charging current.
  std::vector<double> capacitance;
  std::vector<double> sweepStep;
  double pointTime = 0;
  // The solution keeps the last point of every keepEvery (the samples of a grid of sub-steps):
  // the history needs every flux, the caller only the samples.
  int keepEvery = 1;
};

// Points counted as kept (ConvolutionProblem::keepEvery).
struct ConvolutionSolution {
  std::vector<std::vector<double>> current;  // [reaction][point] faradaic current, A
  std::vector<std::vector<double>> surface;  // [species][point] surface concentration, M
  std::vector<double> total;  // [point] faradaic and charging current, A (with charging only)
};

// Where a solve writes its kept points, each column at least as long as they are: the faradaic
// current of every reaction (A), the surface concentration of every species (M) and, unless
// empty, the total current (A: the faradaic currents and the charging current).
struct ConvolutionColumns {
  std::vector<std::span<double>> current;  // [reaction][point]
  std::vector<std::span<double>> surface;  // [species][point]
  std::span<double> total;
};

// Currents (cathodic positive) for the applied potentials E[0..N-1] at the ends of the N steps
// (t = dt, 2 dt, ..., N dt without stepEnds), the solution uniform and at rest before t = 0.
// With charging, the ohmic drop is that of the total current: the interfacial potential is
// E + Ru I and I = I faradaic - Cd (step(n) + drop(n) - drop(n - 1)) / dt, the change of the
// interfacial potential, implicitly (no current flows before the first point).
ConvolutionSolution SolveConvolution(const ConvolutionProblem& problem,
                                     const std::vector<double>& applied);

// The same solve written into the caller's columns (a model's own tables: nothing to allocate
// and copy).
void SolveConvolution(const ConvolutionProblem& problem, std::span<const double> applied,
                      const ConvolutionColumns& out);

}  // namespace qalto
