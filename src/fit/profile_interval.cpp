#include "fit/profile_interval.h"

#include <algorithm>
#include <cmath>

#include "fit/fit_parameters.h"
#include "fit/parameter_uncertainty.h"

namespace qalto {
namespace {

constexpr int kExpansions = 12;     // doublings of the first trial distance before giving up
constexpr int kRefinements = 8;     // interpolations toward the crossing
constexpr double kCrossing = 1e-3;  // the crossing is found when S is within this share of the rise

// The parameter's coordinate: its logarithm where the fit moved it on a log scale.
struct Scale {
  bool log = false;
  double To(double value) const { return log ? std::log(value) : value; }
  double From(double u) const { return log ? std::exp(u) : u; }
};

// A point of the profile: coordinate and least square.
struct ProfilePoint {
  double u = 0;
  double S = 0;
};

// The first trial distance on one side: the 95 % interval from the standard error where it
// exists, else a tenth of the range (of a decade on a log scale).
double FirstDistance(const FittedParameter& p, const Scale& scale, int side) {
  const double wald = side < 0 ? p.lower95 : p.upper95;
  if (p.determined && (!scale.log || wald > 0.0)) {
    const double d = std::fabs(scale.To(wald) - scale.To(p.value));
    if (std::isfinite(d) && d > 0.0) return d;
  }
  if (scale.log) return 0.1 * std::log(10.0);
  const double range = std::fabs(p.maximum - p.minimum);
  return range > 0.0 ? 0.1 * range : std::max(std::fabs(p.value), 1.0) * 0.1;
}

// One side of the interval: doubles the distance until the least square passes the target or
// the bound is reached, then interpolates sqrt(S - S_min), which is close to linear in the
// coordinate, between the last point inside and the first outside.
Expected<ProfileEnd> ProfileSide(const FittedParameter& p, double S, double target, int side,
                                 const ProfileObjective& objective, int& refits) {
  const Scale scale{p.logScale};
  const double u0 = scale.To(p.value);
  const double uBound = scale.To(side < 0 ? p.minimum : p.maximum);
  if (!(side * (uBound - u0) > 0.0)) return ProfileEnd{p.value, true};  // on its bound already
  auto at = [&](double u) -> Expected<double> {
    ++refits;
    return objective(scale.From(u));
  };
  ProfilePoint inside{u0, S};
  ProfilePoint outside{};
  bool crossed = false;
  double d = FirstDistance(p, scale, side);
  for (int k = 0; k < kExpansions && !crossed; ++k, d *= 2.0) {
    const bool last = side * (u0 + side * d - uBound) >= 0.0;
    const double u = last ? uBound : u0 + side * d;
    Expected<double> s = at(u);
    if (!s) return s.Error();
    if (s.Value() >= target) {
      outside = {u, s.Value()};
      crossed = true;
    } else {
      inside = {u, s.Value()};
      if (last) return ProfileEnd{scale.From(uBound), true};
    }
  }
  if (!crossed) return ProfileEnd{scale.From(inside.u), true};
  const double rise = target - S;
  auto root = [&](double s) { return std::sqrt(std::max(s - S, 0.0)); };
  double u = outside.u;
  for (int k = 0; k < kRefinements; ++k) {
    const double share = (root(target) - root(inside.S)) / (root(outside.S) - root(inside.S));
    u = inside.u + std::clamp(share, 0.0, 1.0) * (outside.u - inside.u);
    Expected<double> s = at(u);
    if (!s) return s.Error();
    if (std::fabs(s.Value() - target) <= kCrossing * rise) break;
    (s.Value() < target ? inside : outside) = {u, s.Value()};
  }
  return ProfileEnd{scale.From(u), false};
}

}  // namespace

Expected<ProfileInterval> ProfileOf(const FittedParameter& parameter, double S,
                                    int degreesOfFreedom, const ProfileObjective& objective) {
  const double t = StudentT975(degreesOfFreedom);
  if (!(t > 0.0) || !(S > 0.0))
    return Failure{"Error: " + parameter.name +
                   " has no profile: the fit has no degree of freedom!"};
  // A profile point whose refit beats the fit's own optimum lowers no target: the crossing
  // stays that of the fit as it was reported.
  const double target = S * (1.0 + t * t / degreesOfFreedom);
  ProfileInterval interval;
  Expected<ProfileEnd> lower = ProfileSide(parameter, S, target, -1, objective, interval.refits);
  if (!lower) return lower.Error();
  Expected<ProfileEnd> upper = ProfileSide(parameter, S, target, +1, objective, interval.refits);
  if (!upper) return upper.Error();
  interval.lower = lower.Value();
  interval.upper = upper.Value();
  return interval;
}

namespace {

// Refits the others with the profiled parameter fixed: context.model holds the start and the
// outcome.
using Refit = std::function<Outcome(FitContext& context)>;

Expected<std::vector<ProfileInterval>> ProfileWith(FitContext& context,
                                                   const std::vector<int>& codes,
                                                   const Refit& refitOthers) {
  const FitResult& fit = context.model.LastFit;
  std::vector<ProfileInterval> intervals;
  for (int code : codes) {
    auto found = std::find_if(fit.parameters.begin(), fit.parameters.end(),
                              [&](const FittedParameter& p) { return p.code == code; });
    if (found == fit.parameters.end())
      return Failure{"Error: " + ParameterName(code) + " was not fitted!"};
    Model optimum = WorkingCopy(context.model);
    for (const FittedParameter& p : fit.parameters)
      FittedField(optimum, p.code) = p.value;
    Model trial = WorkingCopy(optimum);
    int lastSide = 0;
    // The profiled parameter stays in the fit with its bounds closed on the trial value, so that
    // a fit of one parameter profiles as well; the others start from the previous point of the
    // same side, the first of each side from the optimum.
    ProfileObjective objective = [&](double value) -> Expected<double> {
      const int side = value < found->value ? -1 : 1;
      if (side != lastSide) trial = WorkingCopy(optimum);
      lastSide = side;
      FitChoices choices = context.choices;
      for (FitChoice& choice : choices)
        if (choice.code == code) choice.minimum = choice.maximum = value;
      FittedField(trial, code) = value;
      MarquardtState engine;
      FitContext refit{trial, choices, context.inputs,   engine, context.threads, context.window,
                       {},    {},      context.onMessage};
      if (Outcome failed = refitOthers(refit)) return *failed;
      return trial.LastFit.sumOfSquares;
    };
    Expected<ProfileInterval> interval =
        ProfileOf(*found, fit.sumOfSquares, fit.degreesOfFreedom, objective);
    if (!interval) return interval.Error();
    intervals.push_back(interval.Value());
  }
  return intervals;
}

}  // namespace

Expected<std::vector<ProfileInterval>> ProfileIntervals(FitContext& context,
                                                        const std::vector<double>& observed,
                                                        const std::vector<int>& codes) {
  return ProfileWith(context, codes,
                     [&observed](FitContext& refit) { return FitCurve(refit, observed); });
}

Expected<std::vector<ProfileInterval>> ProfileIntervals(FitContext& context,
                                                        const std::vector<FitTarget>& targets,
                                                        const std::vector<int>& codes) {
  // Each curve's model keeps its own per-curve values from one refit to the next, as the
  // shared model keeps the others.
  std::vector<Model> models;
  models.reserve(targets.size());
  for (const FitTarget& target : targets)
    models.push_back(WorkingCopy(*target.model));
  return ProfileWith(context, codes, [&](FitContext& refit) {
    std::vector<FitTarget> working = targets;
    for (size_t c = 0; c < working.size(); ++c)
      working[c].model = &models[c];
    return FitCurves(refit, working);
  });
}

}  // namespace qalto
