#pragma once
// The double layer of the electrode: its capacitance as a function of the potential.

#include "model/model.h"

namespace qalto {

// Cd(E) = Cd0 + Cd1 E + Cd2 E^2, F, at the potential E (V).
inline double CapacitanceAt(const Model& model, double E) {
  return model.DoubleLayerCapacitance +
         (model.CapacitanceSlope + model.CapacitanceCurvature * E) * E;
}

// Whether the model has any double-layer capacitance at all.
inline bool HasCapacitance(const Model& model) {
  return model.DoubleLayerCapacitance != 0 || model.CapacitanceSlope != 0 ||
         model.CapacitanceCurvature != 0;
}

}  // namespace qalto
