#pragma once
// The one model of the running program, in three parts of different lifetimes: the experiment
// the user set (ExperimentSettings), the curves (CurveStore) and what the commands found
// (RunResults). A fit worker, a curve of a global fit or a snapshot copies the parts it needs.

#include "model/curve_store.h"
#include "model/experiment_settings.h"
#include "model/run_results.h"

namespace qalto {

struct Model : ExperimentSettings, CurveStore, RunResults {};

// A model to simulate on beside `model`: its experiment and its curves, without the results.
inline Model WorkingCopy(const Model& model) {
  Model copy;
  static_cast<ExperimentSettings&>(copy) = model;
  static_cast<CurveStore&>(copy) = model;
  return copy;
}

}  // namespace qalto
