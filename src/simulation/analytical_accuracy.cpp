#include "simulation/analytical_accuracy.h"

#include <algorithm>
#include <cmath>

#include "common/number_format.h"
#include "digital/rotating_flow.h"
#include "model/experiment_table.h"
#include "simulation/convolution_run.h"
#include "simulation/square_wave_run.h"

namespace qalto {
namespace {

// Error of the sub-stepped square wave, % of the peak, against the exact Nernstian curve: the
// solves on M, 2M and 4M sub-steps extrapolated (Romberg) keep within 0.05 % at M = 8.
std::string SquareWaveError(int M) {
  if (M >= 8) return "0.05";
  if (M >= 4) return "0.3";
  return "2";
}

// The steady wave of a sweep at the rotating disk lags the real one by the time D / k^2 the layer
// takes to follow the potential: against the digital simulation its largest error is 9 % of the
// plateau per unit of s = (n F v / RT) (D / k^2) (100 to 2500 rpm, 5 to 100 mV/s, up to s ~ 2).
std::string SteadySweepLine(const Model& model) {
  std::string line =
      "Sweep at a rotating disk: the steady-state wave, within about 9 % x (n F v / RT) (D / k^2) "
      "of the plateau";
  const double D = model.SpeciesD(1);  // cm2/s
  if (!(D > 0.0) || !(model.RotationRate > 0.0) || !(model.KinematicViscosity > 0.0)) {
    return line + ".";
  }
  const double k = SteadyMassTransfer(FlowCoefficient(model), D);  // cm/s
  const double s = model.ChargeN(1) * model.FOverRT * std::abs(model.ScanRate) * D / (k * k);
  return line + " (here " + FormatNumber(std::min(100.0, 9.0 * s), "0.##") + " %).";
}

}  // namespace

std::vector<std::string> AnalyticalApproximations(const Model& model) {
  std::vector<std::string> lines;
  if (model.DigitalSimulation) return lines;
  using T = Technique;
  const Technique technique = model.Technique;
  const Electrode electrode = model.Electrode;
  // Solved as integral equations.
  const bool convolution = RowOf(electrode).kernel != KernelShape::kNone;
  // The electrodes a mercury drop stands for.
  const bool drop = electrode == Electrode::kPlanar || electrode == Electrode::kSpherical ||
                    electrode == Electrode::kHemispherical;
  if (technique == T::kDc && drop) {
    lines.push_back(
        "DC wave: a stationary electrode renewed every drop; a growing mercury drop carries "
        "sqrt(7/3) = 1.53 times this current (Ilkovic).");
  }
  if (technique == T::kSweep && electrode == Electrode::kRotatingDisk) {
    lines.push_back(SteadySweepLine(model));
  } else if (technique == T::kSweep && !convolution) {
    lines.push_back(
        "Sweep at this electrode: derivative of step responses, exact for a Nernstian couple "
        "only.");
  }
  if (technique == T::kSweep && !convolution && model.UncompensatedResistance > 0) {
    // The drop comes from the backward difference, the curve from the central one: they part by
    // half a step of the current's change, f h / 2 of it for a Nernstian wave.
    lines.push_back(
        "Ohmic drop of this sweep from the backward difference of the responses: within about "
        "f dE / 2 of the drop (2 % at 1 mV steps).");
  }
  if (technique == T::kDifferentialPulse && !convolution) {
    lines.push_back(
        "Differential pulse at this electrode superposes step responses: exact for a Nernstian "
        "couple only.");
  }
  if (technique == T::kDifferentialPulse && SolvedByConvolution(model)) {
    lines.push_back(
        "Differential pulse by sub-stepped convolution: within about 0.03 % of the peak.");
  }
  if ((technique == T::kSquareWave || technique == T::kAdditiveSquareWave) && convolution) {
    int M = SquareWaveSubsteps(model, 0.0);
    if (M > 0) {
      lines.push_back("Square wave by sub-stepped convolution, " + std::to_string(M) +
                      " steps per half period: within about " + SquareWaveError(M) +
                      " % of the peak.");
    }
  }
  if (model.Mechanism == 8) {
    lines.push_back(
        "EC': the catalyst taken as undepleted; with 100 times A in excess about 1 % high at "
        "k' = 1 /s, more at faster catalysis.");
  }
  if (model.Mechanism == 8 && model.SpeciesD(1) != model.SpeciesD(2)) {
    lines.push_back("EC' kernel: A and B are taken to diffuse alike (their D differ here).");
  }
  if (model.Mechanism == 9 || model.Mechanism == 10) {
    lines.push_back("Complex: its dissociation is taken as fast; the wave only shifts.");
  }
  if ((model.Mechanism >= 6 && model.Mechanism <= 8) && !convolution) {
    lines.push_back("Homogeneous chemistry at this electrode: no kinetic kernel, approximate.");
  }
  return lines;
}

}  // namespace qalto
