#include "app/experiment_run.h"

#include <cmath>
#include <optional>
#include <sstream>

#include "app/app.h"
#include "app/script_runner.h"
#include "model/point_time.h"
#include "simulation/step_program.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// The instant of point i: a step's x column holds it, a potential program and an AC
// voltammogram keep each point's, the other techniques' points follow each other evenly.
double TimeOfPoint(const Model& model, int i, double pointTime) {
  switch (model.Technique) {
    case Technique::kChronoamperometry:
      return model.PotentialX(i);
    case Technique::kPotentialProgram:
    case Technique::kAcVoltammetry:
      return model.PointTimes(i);
    default:
      return i * pointTime;
  }
}

// The potential the steps apply at t (s after the first step; a measured curve's instants
// need not be the program's samples): E1 up to t1 with it, then E2 to the end.
double StepPotentialAt(const StepProgram& steps, double t) {
  const double firstEnd = steps.firstPoints * steps.sample;                    // s
  const double end = (steps.firstPoints + steps.secondPoints) * steps.sample;  // s
  constexpr double kRounding = 1e-9;  // of the step's length: the last sample lies on its end
  if (t <= 0 || t > end * (1 + kRounding)) return std::nan("");
  return t <= firstEnd * (1 + kRounding) ? steps.first : steps.second;
}

// The AC voltammogram's harmonics and power spectrum, when the store holds one.
void CopyAcTables(const Model& model, RunOutput& output) {
  if (model.Technique != Technique::kAcVoltammetry) return;
  for (int i = model.FirstPoint; i <= model.LastPoint; ++i) {
    for (int k = 0; k <= kAcHarmonics; ++k)
      output.harmonics.push_back(model.AcHarmonics(i, k));
  }
  for (int j = 1; j <= model.AcSpectrumPoints; ++j) {
    output.spectrumFrequency.push_back(model.AcSpectrum(j, 1));
    output.spectrumPower.push_back(model.AcSpectrum(j, 2));
  }
}

// The curve store's rows FirstPoint..LastPoint.
void CopyCurves(const Model& model, bool withSurface, RunOutput& output) {
  if (model.CurveCount < 1 || model.LastPoint < model.FirstPoint) return;
  output.points = model.LastPoint - model.FirstPoint + 1;
  output.curves = model.CurveCount;
  output.spectrumFrequencies = model.SpectrumFrequencies;
  double pointTime = 0;
  try {
    pointTime = PointTime(model);
  } catch (const std::exception&) {
    pointTime = 0;  // an imported curve without a scan rate has no time axis
  }
  std::optional<StepProgram> steps;
  if (model.Technique == Technique::kChronoamperometry) {
    try {
      steps = StepProgramOf(model);
    } catch (const std::exception&) {
      steps.reset();  // boxes that make no program: the potentials are unknown
    }
  }
  for (int i = model.FirstPoint; i <= model.LastPoint; ++i) {
    const double t = TimeOfPoint(model, i, pointTime);
    output.potential.push_back(steps ? StepPotentialAt(*steps, t) : model.PotentialX(i));
    output.time.push_back(t);
    output.charge.push_back(model.PassedCharge(i));
    for (int c = 1; c <= model.CurveCount; ++c)
      output.current.push_back(model.CurrentY(i, c));
  }
  CopyAcTables(model, output);
  if (!withSurface) return;
  output.species = model.SpeciesCount;
  for (int s = 1; s <= model.SpeciesCount; ++s)
    output.speciesNames.push_back(model.SpeciesName(s));
  for (int i = model.FirstPoint; i <= model.LastPoint; ++i) {
    for (int s = 1; s <= model.SpeciesCount; ++s)
      output.surface.push_back(model.SurfaceConcentrations(i, s));
  }
}

}  // namespace

RunOutput RunExperiment(const RunRequest& request) {
  RunOutput output;
  RecordingPlatform platform;
  App app(platform);
  app.Plot().surface.paintWhenUsed = true;  // painted only if the script writes a picture
  std::ostringstream printed;
  std::ostringstream errors;
  ScriptRunner runner(app, platform, printed);
  app.model().NoiseSeed = request.seed;
  app.model().FixedNoiseState = request.fixedNoiseState;
  for (const auto& [control, value] : request.settings) {
    std::string error = runner.Override(control, value);
    if (!error.empty()) {
      output.status = kExitCommandLine;
      output.error = control + "=" + value + ": " + error;
      return output;
    }
  }
  std::istringstream script(request.script);
  output.status = runner.Run(script, errors);
  output.error = runner.Error();
  output.messages = runner.Messages();
  output.printed = printed.str();
  CopyCurves(app.model(), request.surfaceConcentrations, output);
  output.fit = app.model().LastFit;
  output.fixedNoiseState = app.model().FixedNoiseState;
  return output;
}

}  // namespace qalto
