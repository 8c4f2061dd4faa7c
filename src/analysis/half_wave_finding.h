#pragma once
// Find Halfwave E: for every sweep segment of every curve, the potential where the current has
// come half-way between the segment's extremes (the half-wave potential) and the wave height.

#include "app/result_window.h"
#include "model/model.h"

namespace qalto {

void FindHalfWavePotentials(const Model& model, ResultWindow& result);

}  // namespace qalto
