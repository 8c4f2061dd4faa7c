#pragma once
// The argument list shared by every analytical response function: one charge-transfer reaction
// at one electrode potential and sampling time.

namespace qalto {

struct KineticArguments {
  double E = 0;       // electrode potential, V
  double ks = 0;      // standard heterogeneous rate constant, cm/s
  double alpha = 0;   // transfer coefficient
  double n = 0;       // electrons transferred
  double E0 = 0;      // standard (formal) potential, V
  double CO = 0;      // bulk concentration of the oxidized species, M
  double sqrtDO = 0;  // square root of its diffusion coefficient, cm/s^1/2
  double t = 0;       // sampling time, s
  double CR = 0;      // bulk concentration of the reduced species, M
  double sqrtDR = 0;  // square root of its diffusion coefficient, cm/s^1/2
  double P = 0;       // pulse height, or signed pulse, V
  double nuO = 0;     // stoichiometric coefficient of the oxidized species
  double nuR = 0;     // stoichiometric coefficient of the reduced species

  bool operator==(const KineticArguments&) const = default;
};

// The same reaction at another potential.
inline KineticArguments AtPotential(KineticArguments args, double E) {
  args.E = E;
  return args;
}

// The same reaction sampled at another time.
inline KineticArguments AtTime(KineticArguments args, double t) {
  args.t = t;
  return args;
}

}  // namespace qalto
