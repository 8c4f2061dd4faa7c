#pragma once
// The analytical path of the simulation driver, seen from one charge reaction at one point: the
// run constants, the quantities of the reaction at the point, and the two entry points that turn
// them into faradaic current (by technique and electrode) and combine its catalytic parts.

#include "model/model.h"

namespace qalto {

// Constants of one analytical run.
struct AnalyticalRun {
  double AF = 0;         // A x F x 0.001: current scale, A per (mol/L x cm/s)
  double pulseHalf = 0;  // h = pulse height / 2, V
  double t = 0;          // sampling time of the technique, s
  double offset = 0;     // potential offset of the technique, V
  double pHterm = 0;     // (pH - 7) x 2.3

  // Filled by the response functions during the run.
  double catalyticRate = 0;  // k' = kf C(3) + kb of the last catalytic reaction, 1/s
};

// One charge reaction r at point i, as the driver prepares it.
struct ReactionPoint {
  int i = 0;          // point index
  int r = 0;          // charge reaction
  int ox = 0;         // species number of the oxidized species
  int red = 0;        // species number of the reduced species
  double E = 0;       // electrode potential, V (ohmic drop and proton term included)
  double k = 0;       // RT/(nF), V
  double CO = 0;      // bulk concentration of the oxidized species, M
  double CR = 0;      // bulk concentration of the reduced species, M
  double sqrtDO = 0;  // sqrt(D) of the oxidized species
  double sqrtDR = 0;  // sqrt(D) of the reduced species
  double E0 = 0;      // formal potential, V
};

// Called once per run after the run constants are set and the potential axis is built, before the
// first point: room for whatever the response functions can compute once per run.
void PrepareAnalyticalRun(Model& model, AnalyticalRun& run);

// The faradaic current of the reaction at the point, written into ReactionCurrents(i, r) (scaled
// by AF), with its surface concentrations and catalytic column; returns the value of column r.
double AnalyticalReactionCurrent(Model& model, AnalyticalRun& run, ReactionPoint& point);

// After all points: the catalytic regeneration's diffusional and catalytic parts make the total.
void CombineCatalyticColumns(Model& model, AnalyticalRun& run);

}  // namespace qalto
