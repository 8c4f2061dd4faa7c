#include "fit/measured_curve.h"

namespace qalto {
namespace {

// The fields the Instrument window and the Techniques window set, with those derived from them.
void CopyInstrumentSettings(const ExperimentSettings& from, ExperimentSettings& to) {
  to.Technique = from.Technique;
  to.Electrode = from.Electrode;
  to.StartPotential = from.StartPotential;
  to.EndPotential = from.EndPotential;
  to.PotentialStep = from.PotentialStep;
  to.ScanRate = from.ScanRate;
  to.PulseTime = from.PulseTime;
  to.DropTime = from.DropTime;
  to.PulsePotential = from.PulsePotential;
  to.ScanCycles = from.ScanCycles;
  to.Temperature = from.Temperature;
  to.ElectrodeArea = from.ElectrodeArea;
  to.Radius = from.Radius;
  to.ElectrodeLength = from.ElectrodeLength;
  to.ElectrodeVolume = from.ElectrodeVolume;
  to.RotationRate = from.RotationRate;
  to.DoubleLayerCapacitance = from.DoubleLayerCapacitance;
  to.UncompensatedResistance = from.UncompensatedResistance;
  to.CapacitanceSlope = from.CapacitanceSlope;
  to.CapacitanceCurvature = from.CapacitanceCurvature;
  to.BaselineOffset = from.BaselineOffset;
  to.BaselineSlope = from.BaselineSlope;
  to.QuietTime = from.QuietTime;
  to.StepPotential1 = from.StepPotential1;
  to.StepTime1 = from.StepTime1;
  to.StepPotential2 = from.StepPotential2;
  to.StepTime2 = from.StepTime2;
  to.SampleTime = from.SampleTime;
  to.AnodicPositive = from.AnodicPositive;  // the convention the curve was stored in
  to.FOverRT = from.FOverRT;
  to.RTOverF = from.RTOverF;
  to.AnalyticalCase = from.AnalyticalCase;
  to.SweepDirection = from.SweepDirection;
}

}  // namespace

MeasuredCurve CaptureMeasuredCurve(const Model& model, const SimulationInputs& inputs) {
  MeasuredCurve curve;
  CopyInstrumentSettings(model, curve.settings);
  curve.inputs = inputs;
  curve.potential[0] = model.PotentialX(0);
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    curve.potential.push_back(model.PotentialX(i));
    curve.current.push_back(model.CurrentY(i, 1));
  }
  return curve;
}

std::unique_ptr<Model> CurveModel(const Model& chemistry, const MeasuredCurve& curve) {
  auto model = std::make_unique<Model>(WorkingCopy(chemistry));
  CopyInstrumentSettings(curve.settings, *model);
  model->NumberOfPoints = curve.Points();
  model->PotentialX(0) = curve.potential[0];
  for (int i = 1; i <= curve.Points(); ++i) {
    model->PotentialX(i) = curve.potential[static_cast<size_t>(i)];
    model->CurrentY(i, 1) = curve.current[static_cast<size_t>(i)];
  }
  model->FirstPoint = 1;
  model->LastPoint = curve.Points();
  // an impedance spectrum is Z' then Z'' over the same frequencies
  model->SpectrumFrequencies = model->Technique == Technique::kImpedance ? curve.Points() / 2 : 0;
  model->FitMode = true;
  return model;
}

}  // namespace qalto
