#pragma once
// Profile-likelihood intervals of fitted parameters. The interval from the standard error takes
// the sum of squares as a quadratic around the optimum, which a rate constant near the
// reversible limit or a strongly curved model is not. The profile fixes one parameter at a trial
// value, refits all the others and asks where the least square they reach crosses
// S_min (1 + t^2 / dof), t the 97.5 % quantile of Student's t: the likelihood-ratio interval of
// least squares, exact for a linear model and honest for a curved one.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "fit/fit_curve.h"
#include "model/fit_result.h"

namespace qalto {

// The least square the other parameters reach with the profiled one fixed at a value (in its
// own unit); a failure ends the profile with its message.
using ProfileObjective = std::function<Expected<double>(double value)>;

// Where one side of the interval lies.
struct ProfileEnd {
  double value = 0;   // the crossing, or the bound where the least square stays below it
  bool open = false;  // no crossing within the bound: the data allow the whole side
};

struct ProfileInterval {
  ProfileEnd lower;
  ProfileEnd upper;
  int refits = 0;  // least squares computed
};

// The interval of one fitted parameter from its fit: the parameter's value, standard error,
// scale and bounds, the least square at the optimum and the degrees of freedom.
Expected<ProfileInterval> ProfileOf(const FittedParameter& parameter, double S,
                                    int degreesOfFreedom, const ProfileObjective& objective);

// The intervals of the parameters with the given codes after a fit of one curve: each profile
// point refits the other parameters of context.choices from the values of the point before,
// in a working copy of context.model, which itself is left as it was.
Expected<std::vector<ProfileInterval>> ProfileIntervals(FitContext& context,
                                                        const std::vector<double>& observed,
                                                        const std::vector<int>& codes);

// The same after a global fit of the targets (their models each curve's settings): each profile
// point refits the others to every curve at once, in working copies of the targets' models. The
// profiled parameters are shared ones; a per-curve one (Ru, Cd, the baseline of several curves)
// has no single value to fix.
Expected<std::vector<ProfileInterval>> ProfileIntervals(FitContext& context,
                                                        const std::vector<FitTarget>& targets,
                                                        const std::vector<int>& codes);

}  // namespace qalto
