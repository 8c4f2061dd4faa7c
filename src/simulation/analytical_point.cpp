#include "simulation/analytical_point.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"
#include "model/experiment_table.h"
#include "model/point_time.h"
#include "simulation/complex_formal_potential.h"
#include "simulation/curve_derivatives.h"
#include "simulation/kinetic_currents.h"
#include "simulation/pulse_currents.h"

namespace qalto {
namespace {

// Reaction r at the point, with the formal potential, sampling time and pulse the technique uses.
KineticArguments ReactionArguments(const Model& model, const ReactionPoint& point, double E0,
                                   double t, double P) {
  const int r = point.r;
  KineticArguments args;
  args.E = point.E;
  args.ks = model.ChargeKs(r);
  args.alpha = model.ChargeAlpha(r);
  args.n = model.ChargeN(r);
  args.E0 = E0;
  args.CO = point.CO;
  args.sqrtDO = point.sqrtDO;
  args.t = t;
  args.CR = point.CR;
  args.sqrtDR = point.sqrtDR;
  args.P = P;
  args.nuO = model.ChargeReactionStoich(r, 1);
  args.nuR = model.ChargeReactionStoich(r, 2);
  return args;
}

// The differential pulse: the pulse P on the way out, -P on the way back.
KineticArguments DifferentialPulseArguments(const Model& model, const ReactionPoint& point) {
  const double pulse = model.PulsePotential;
  double signedPulse = point.i > model.SweepPoints ? -pulse : pulse;
  return ReactionArguments(model, point, point.E0, model.PulseTime, signedPulse);
}

bool IsIndependentReaction(int mechanism) {
  return mechanism == 1 || mechanism == 4 || mechanism == 5;
}

// Surface concentrations of both species of the reaction at the point (planar electrode).
void StoreSurfaceConcentrations(Model& model, const AnalyticalRun& run,
                                const ReactionPoint& point) {
  KineticArguments args =
      ReactionArguments(model, point, point.E0 + run.offset, run.t, model.PulsePotential);
  double flux = SurfaceFluxTerm(model, args);
  model.SurfaceConcentrations(point.i, point.ox) = SurfaceConcentrationOxFromFlux(args, flux);
  model.SurfaceConcentrations(point.i, point.red) = SurfaceConcentrationRedFromFlux(args, flux);
}

// Catalytic part of the current per unit A x F, before its time factor, by technique.
double CatalyticPart(const Model& model, const AnalyticalRun& run, const KineticArguments& args) {
  auto f = [&](double E) { return PlanarKineticCurrent(model, AtPotential(args, E)); };
  switch (model.Technique) {
    case Technique::kSweep:
    case Technique::kDc:
    case Technique::kNormalPulse:
    case Technique::kChronoamperometry:
    case Technique::kPotentialProgram:
      return f(args.E);
    case Technique::kDifferentialPulse:
      return f(args.E + model.PulsePotential) - f(args.E);
    case Technique::kSquareWave:
      return f(args.E + run.pulseHalf) - f(args.E - run.pulseHalf);
    case Technique::kAdditiveSquareWave:
      return f(args.E + run.pulseHalf) + f(args.E - run.pulseHalf);
    case Technique::kAcVoltammetry:  // simulated digitally only
    case Technique::kImpedance:
    case Technique::kNone:
      break;
  }
  return 0.0;
}

// Faradaic current of the reaction per unit A x F by the closed form of the technique at the
// electrode, before the A x F scale. Sweeps, square waves and additive square waves at planar,
// spherical, hemispherical and microdisc electrodes are solved as integral equations
// (convolution_run, square_wave_run).
double ClosedFormCurrent(const Model& model, const AnalyticalRun& run, const ReactionPoint& point,
                         double E0) {
  const double pulse = model.PulsePotential;
  const double E0r = point.E0;  // the formal potential of the reaction as entered, V
  switch (RowOf(model.AnalyticalCase).closedForm) {
    case ClosedForm::kPlanar:
      return PlanarKineticCurrent(model,
                                  ReactionArguments(model, point, E0 + run.offset, run.t, pulse));
    case ClosedForm::kRotatingDisk:
      return RotatingDiskCurrent(model,
                                 ReactionArguments(model, point, E0r, model.PulseTime, pulse));
    case ClosedForm::kRotatingFlow:
      return RotatingFlowCurrent(model,
                                 ReactionArguments(model, point, E0r, model.PulseTime, pulse));
    case ClosedForm::kSpherical:
      return SphericalKineticCurrent(
          model, ReactionArguments(model, point, E0 + run.offset, run.t, pulse));
    case ClosedForm::kDifferentialPulsePlanar:
      return DifferentialPulsePlanarCurrent(model, DifferentialPulseArguments(model, point));
    case ClosedForm::kDifferentialPulseSpherical:
      return DifferentialPulseSphericalCurrent(model, DifferentialPulseArguments(model, point));
    case ClosedForm::kFrequencyDomain:  // a spectrum, not a point of a curve
    case ClosedForm::kNone:
      break;
  }
  return 0.0;  // no closed form for this technique at this electrode
}

}  // namespace

void PrepareAnalyticalRun(Model&, AnalyticalRun& run) {
  run.catalyticRate = 0.0;
}

double AnalyticalReactionCurrent(Model& model, AnalyticalRun& run, ReactionPoint& point) {
  const int i = point.i;
  const int r = point.r;
  const int mechanism = model.Mechanism;
  const int extraColumn = r + model.TotalCurrentColumn;  // catalytic part

  // Mechanism 2 keeps the surface concentrations of its first step too, so that its second step
  // starts from this run's values rather than from whatever an earlier run left.
  if (IsIndependentReaction(mechanism) || (mechanism == 2 && r == 1)) {
    StoreSurfaceConcentrations(model, run, point);
  }
  if (mechanism == 2 && r == 2) {
    point.CO = model.SurfaceConcentrations(i, model.ChargeReactionSpecies(1, 2));
  }

  double catalyticScale = 0.0;  // A x F x sqrt(pi k' t), A per (M cm/s)
  if (mechanism == 8) {
    run.catalyticRate =
        Checked(model.ForwardRateConstant(r) * model.SpeciesC(3) + model.BackwardRateConstant(r));
    catalyticScale = run.AF * Sqrt(run.catalyticRate * run.t) * kSqrtPi;
  }

  double E0 = point.E0;  // formal potential the technique sees, V
  if ((mechanism == 9 || mechanism == 10) && model.SpeciesC(4) > 0.0) {
    E0 = ComplexFormalPotential(model, point.r, mechanism == 9 ? 4 : 2);
  }

  if (mechanism == 8) {
    KineticArguments args = ReactionArguments(model, point, E0, run.t, model.PulsePotential);
    model.ReactionCurrents(i, extraColumn) =
        Checked(catalyticScale * CatalyticPart(model, run, args));
  }

  double current = ClosedFormCurrent(model, run, point, E0) * run.AF;
  model.ReactionCurrents(i, r) = Checked(current);
  return model.ReactionCurrents(i, r);
}

void CombineCatalyticColumns(Model& model, AnalyticalRun& run) {
  const int N = model.NumberOfPoints;
  const int total = model.TotalCurrentColumn;
  GrowingTable2<double>& currents = model.ReactionCurrents;

  // Catalytic regeneration: the diffusional current decays with exp(-k' t) while the catalytic
  // current grows with erf(sqrt(k' t)).
  if (model.Mechanism == 8) {
    double a = Checked(run.catalyticRate * PointTime(model));  // k' t per point, dimensionless
    for (int r = 1; r <= model.ChargeReactionCount; ++r) {
      for (int i = 1; i <= N; ++i) {
        currents(i, total) = Checked(Exp(-a * i) * currents(i, total) +
                                     std::erf(Sqrt(a * i)) * currents(i, r + total));
      }
    }
  }
}

}  // namespace qalto
