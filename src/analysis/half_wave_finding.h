#pragma once
// Find Halfwave E: for every sweep segment of every curve, the potential where the current has
// come half-way between the segment's extremes (the half-wave potential) and the wave height.

#include <vector>

#include "model/model.h"

namespace qalto {

struct HalfWave {
  double potential = 0;  // E1/2, V
  double height = 0;     // Id, the segment's largest minus smallest current, A
};

// The waves of every curve 1..CurveCount, in segment order (a segment without a half-way point
// gives none).
std::vector<std::vector<HalfWave>> FindHalfWavePotentials(const Model& model);

}  // namespace qalto
