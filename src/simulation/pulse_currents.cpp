#include "simulation/pulse_currents.h"

#include "common/checked_math.h"
#include "simulation/kinetic_currents.h"

namespace qalto {
namespace {

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

}  // namespace qalto
