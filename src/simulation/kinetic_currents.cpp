#include "simulation/kinetic_currents.h"

#include "common/checked_math.h"
#include "common/constants.h"
#include "digital/rotating_flow.h"
#include "simulation/scaled_erfc.h"

// Overflow guard: exp, quotients and roots are checked, so extreme theta or lambda = 0 raise.

namespace qalto {

KineticRates ComputeKineticRates(const Model& model, const KineticArguments& args) {
  KineticRates rates;
  rates.theta = args.n * model.FOverRT * (args.E - args.E0);
  rates.kf = Checked(args.ks * Exp(Div(-args.alpha * rates.theta, args.nuO)));
  rates.kb = Checked(args.ks * Exp(Div((1.0 - args.alpha) * rates.theta, args.nuR)));
  rates.lambda = Checked(Div(rates.kf, args.sqrtDO) + Div(rates.kb, args.sqrtDR));
  rates.phi =
      Checked(args.n * (Div(rates.kf * args.CO, args.nuO) - Div(rates.kb * args.CR, args.nuR)));
  return rates;
}

double PlanarKineticCurrent(const Model& model, const KineticArguments& args) {
  KineticRates rates = ComputeKineticRates(model, args);
  double x = Checked(rates.lambda * Sqrt(args.t));
  return Checked(rates.phi * ScaledErfc(x));
}

double SurfaceFluxTerm(const Model& model, const KineticArguments& args) {
  KineticRates rates = ComputeKineticRates(model, args);
  double x = Checked(rates.lambda * Sqrt(args.t));
  double net = Checked(rates.kf * args.CO - rates.kb * args.CR);
  return Div(net * (1.0 - ScaledErfc(x)), rates.lambda);
}

double SurfaceConcentrationOxFromFlux(const KineticArguments& args, double fluxTerm) {
  return Checked(args.CO - Div(fluxTerm, args.sqrtDO));
}

double SurfaceConcentrationRedFromFlux(const KineticArguments& args, double fluxTerm) {
  return Checked(args.CR + Div(Div(fluxTerm, args.sqrtDR) * args.nuR, args.nuO));
}

double SurfaceConcentrationOx(const Model& model, const KineticArguments& args) {
  return SurfaceConcentrationOxFromFlux(args, SurfaceFluxTerm(model, args));
}

double SurfaceConcentrationRed(const Model& model, const KineticArguments& args) {
  return SurfaceConcentrationRedFromFlux(args, SurfaceFluxTerm(model, args));
}

double SphericalKineticCurrent(const Model& model, const KineticArguments& args) {
  KineticRates rates = ComputeKineticRates(model, args);
  double s = Div(args.sqrtDO, model.Radius);  // sqrt(DO) / r0, 1/s^1/2
  double lambdaS = Checked(rates.lambda + s);
  double rho = Div(s, lambdaS);  // share of the steady spherical flux
  double x = Checked(lambdaS * Sqrt(args.t));
  return Checked(rates.phi * ((1.0 - rho) * ScaledErfc(x) + rho));
}

double RotatingDiskCurrent(const Model& model, const KineticArguments& args) {
  KineticRates rates = ComputeKineticRates(model, args);
  // Levich mass-transfer factor 0.62045 nu^(-1/6) omega^(1/2); times D^(2/3) it is a velocity, cm/s
  double levich =
      kLevichConstant * Pow(model.KinematicViscosity, -1.0 / 6.0) * Sqrt(model.RotationRate);
  double DO = args.sqrtDO * args.sqrtDO;  // cm2/s
  double DR = args.sqrtDR * args.sqrtDR;  // cm2/s
  double kinetic = Checked(rates.kf * Pow(DO, -2.0 / 3.0) + rates.kb * Pow(DR, -2.0 / 3.0));
  return Div(rates.phi, 1.0 + Div(kinetic, levich));
}

double RotatingFlowCurrent(const Model& model, const KineticArguments& args) {
  KineticRates rates = ComputeKineticRates(model, args);
  const double a = FlowCoefficient(model);                             // 1/(cm s)
  const double kO = SteadyMassTransfer(a, args.sqrtDO * args.sqrtDO);  // cm/s
  const double kR = SteadyMassTransfer(a, args.sqrtDR * args.sqrtDR);  // cm/s
  return Div(rates.phi, 1.0 + Div(rates.kf, kO) + Div(rates.kb, kR));
}

double NernstReducedFraction(const Model& model, const KineticArguments& args) {
  return Div(1.0, Exp(args.n * model.FOverRT * (args.E - args.E0)) + 1.0);
}

}  // namespace qalto
