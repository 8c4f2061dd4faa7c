#pragma once
// A measured curve kept for a fit of several curves at once: its points and the instrument
// settings it was measured with (technique, electrode, potential program, scan rate, pulse and
// drop times, electrode geometry, cell constants), so that each curve is simulated as it was
// recorded while the chemistry is shared by all of them.

#include <memory>
#include <string>
#include <vector>

#include "model/model.h"
#include "simulation/simulation_driver.h"

namespace qalto {

inline constexpr int kMaxGlobalCurves = 16;  // curves one global fit takes

struct MeasuredCurve {
  ExperimentSettings settings;         // the experiment as the curve was added: its instrument
                                       // fields
  SimulationInputs inputs;             // baseline and grid texts of the Instrument window then
  std::vector<double> potential{0.0};  // V, 1..points
  std::vector<double> current{0.0};    // A, 1..points
  int Points() const { return static_cast<int>(current.size()) - 1; }
};

// Curve 1 of the curve store with the model's instrument settings.
MeasuredCurve CaptureMeasuredCurve(const Model& model, const SimulationInputs& inputs);

// The model on which the curve is simulated in a fit: the chemistry and fit state of
// `chemistry`, the instrument settings and potential axis of the curve, FitMode set.
std::unique_ptr<Model> CurveModel(const Model& chemistry, const MeasuredCurve& curve);

}  // namespace qalto
