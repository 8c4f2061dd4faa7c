#include "app/experiment_run.h"

#include <sstream>

#include "app/app.h"
#include "app/script_runner.h"
#include "model/point_time.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// The curve store's rows FirstPoint..LastPoint; point i of a run lies i point times after its
// start (point 0 is the step before the first).
void CopyCurves(const Model& model, bool withSurface, RunOutput& output) {
  if (model.CurveCount < 1 || model.LastPoint < model.FirstPoint) return;
  output.points = model.LastPoint - model.FirstPoint + 1;
  output.curves = model.CurveCount;
  double pointTime = 0;
  try {
    pointTime = PointTime(model);
  } catch (const std::exception&) {
    pointTime = 0;  // an imported curve without a scan rate has no time axis
  }
  for (int i = model.FirstPoint; i <= model.LastPoint; ++i) {
    output.potential.push_back(model.PotentialX(i));
    output.time.push_back(i * pointTime);
    for (int c = 1; c <= model.CurveCount; ++c)
      output.current.push_back(model.CurrentY(i, c));
  }
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
  return output;
}

}  // namespace qalto
