#pragma once
// The current at a disc electrode of radius a in an insulating plane after a potential step to
// the diffusion limit: i = 4nFDCa f(tau), tau = 4Dt/a^2. f runs from the planar transient
// (sqrt(pi)/2) tau^-1/2 + pi/4 at short times to the steady state 1 + 0.71835 tau^-1/2 at long
// ones; between them it comes from a converged table.

namespace qalto {

// f(tau) for tau > 0.
double DiscTransient(double tau);

// The integral of f from 0 to tau (tau >= 0).
double DiscTransientIntegral(double tau);

}  // namespace qalto
