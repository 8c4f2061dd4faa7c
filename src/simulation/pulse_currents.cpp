#include "simulation/pulse_currents.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/point_index.h"
#include "simulation/kinetic_currents.h"

namespace qalto {
namespace {

constexpr int kAdditiveHistoryStart = -100;  // the additive history begins 100 steps early

const double kSqrt2 = std::sqrt(2.0);

// f(E + P, t) - f(E, t) + f(E, DropTime) - f(E, DropTime - t) for the step response f.
template <typename StepResponseFunction>
double DifferentialPulse(const Model& model, const KineticArguments& args,
                         StepResponseFunction response) {
  double pulse = response(model, AtPotential(args, args.E + args.P)) - response(model, args);
  double drop = response(model, AtTime(args, model.DropTime));
  double beforePulse = response(model, AtTime(args, model.DropTime - args.t));
  return Checked(pulse + drop - beforePulse);
}

}  // namespace

double DifferentialPulsePlanarCurrent(const Model& model, const KineticArguments& args) {
  return DifferentialPulse(model, args, PlanarKineticCurrent);
}

double DifferentialPulseSphericalCurrent(const Model& model, const KineticArguments& args) {
  return DifferentialPulse(model, args, SphericalKineticCurrent);
}

double SquareWavePlanarCurrent(const Model& model, const KineticArguments& args, int i,
                               StaircaseHistory& history) {
  double h = args.P / 2.0;  // half the square-wave amplitude, V
  int d = Sgn(model.PotentialX(i) - model.PotentialX(i - 1));
  if (d == 0) d = 1;
  double Ia = PlanarKineticCurrent(model, AtPotential(args, args.E - d * h));
  double Ib = PlanarKineticCurrent(model, AtPotential(args, args.E + d * h));

  // The history restarts at the vertex: the reverse sweep sums the steps from the end potential.
  Staircase stairs{model.StartPotential, d, model.PotentialStep, 0};
  double lastStep = i - 2.0;
  if (i > model.SweepPoints) {
    stairs.Ebase = model.EndPotential;
    lastStep = i - model.SweepPoints - 2.0;
  }
  int K = ToPointIndex(lastStep);
  double S = history.WeightedSum(model, StepResponse::kPlanar, args, stairs, K,
                                 history.SquareWaveWeights(i), i);
  return Checked((1.0 / kSqrt2 - 2.0) * Ib + Ia + S);
}

double SquareWaveSphericalCurrent(const Model& model, const KineticArguments& args) {
  return Checked(SphericalKineticCurrent(model, AtPotential(args, args.E + args.P)) -
                 SphericalKineticCurrent(model, args));
}

double AdditiveSquareWavePlanarCurrent(const Model& model, const KineticArguments& args, int i,
                                       StaircaseHistory& history) {
  double Pplus = NernstReducedFraction(model, AtPotential(args, args.E + args.P / 2.0));
  double Pminus = NernstReducedFraction(model, AtPotential(args, args.E - args.P / 2.0));
  Staircase stairs{model.StartPotential, model.SweepDirection, model.PotentialStep,
                   kAdditiveHistoryStart};
  int lastStep = i - 2;
  double S = history.WeightedSum(model, StepResponse::kNernst, args, stairs, lastStep,
                                 history.AdditiveWeights(i - kAdditiveHistoryStart), i);
  return Checked(Pminus / kSqrt2 + Pplus + S);
}

double AdditiveSquareWaveSphericalCurrent(const Model& model, const KineticArguments& args, int i,
                                          StaircaseHistory& history) {
  double A = SphericalKineticCurrent(model, AtPotential(args, args.E - args.P / 2.0));
  double B = SphericalKineticCurrent(model, AtPotential(args, args.E + args.P / 2.0));
  Staircase stairs{model.StartPotential, model.SweepDirection, model.PotentialStep,
                   kAdditiveHistoryStart};
  int lastStep = i - 2;
  double S = history.WeightedSum(model, StepResponse::kSpherical, args, stairs, lastStep,
                                 history.AdditiveWeights(i - kAdditiveHistoryStart), i);
  return Checked(B / kSqrt2 + A + S);
}

}  // namespace qalto
