#include "model/point_time.h"

#include "common/checked_math.h"

namespace qalto {

double PointTime(const Model& model) {
  if (model.Technique == Technique::kChronoamperometry ||
      model.Technique == Technique::kPotentialProgram)
    return model.SampleTime;
  if (model.Technique == Technique::kAcVoltammetry)
    return Div(1.0, kAcSamplesPerPeriod * model.AcFrequency);
  if (model.Technique != Technique::kSweep) return model.DropTime;
  return Div(model.PotentialStep, model.ScanRate);
}

}  // namespace qalto
