#pragma once
// The history sums of the staircase techniques. A square-wave current is a superposition over
// every earlier step of the staircase; the response to an earlier step is the same for every
// later point, so it is computed once per run and kept here, with the weights of the sums, and
// each point only forms its weighted sum.

#include <cstdint>
#include <vector>

#include "app/model.h"
#include "simulation/kinetic_arguments.h"

namespace qalto {

// The response function evaluated at the earlier steps.
enum class StepResponse : std::uint8_t {
  kPlanar,     // PlanarKineticCurrent
  kSpherical,  // SphericalKineticCurrent
  kNernst,     // NernstReducedFraction
};

// The steps of one staircase: potentials Ebase + d x (m x step) for m = mFirst, mFirst + 1, ...
struct Staircase {
  double Ebase = 0;  // potential of step m = 0, V
  int d = 0;         // direction of the steps, +1 or -1
  double step = 0;   // potential step, V
  int mFirst = 0;    // first step of the history

  bool operator==(const Staircase&) const = default;
};

class StaircaseHistory {
 public:
  // 1/sqrt(q+1) - 2/sqrt(q) + 1/sqrt(q-1) for q = 2..qMax (index q): square-wave weights.
  const double* SquareWaveWeights(int qMax);
  // 1/sqrt(q+1) - 1/sqrt(q-1) for q = 2..qMax (index q): additive square-wave weights.
  const double* AdditiveWeights(int qMax);

  // Sum over m = stairs.mFirst..mLast of weights[i - m] x response(Ebase + d x (m x step)), the
  // response taken with every argument but the potential as given. The kinetic responses are
  // linear in the bulk concentrations, so the history keeps them per unit CO and per unit CR and
  // the concentrations multiply the two sums afterwards.
  double WeightedSum(const Model& model, StepResponse response, const KineticArguments& args,
                     const Staircase& stairs, int mLast, const double* weights, int i);

 private:
  struct Series {
    StepResponse response;
    KineticArguments key;  // the arguments without potential, concentrations and pulse
    Staircase stairs;
    double fOverRT;             // model fields the responses read, 1/V
    double radius;              // cm
    std::vector<double> perCO;  // response per unit CO (the whole response for kNernst)
    std::vector<double> perCR;  // response per unit CR
  };

  Series& FindSeries(const Model& model, StepResponse response, const KineticArguments& args,
                     const Staircase& stairs);
  void Extend(const Model& model, Series& series, int mLast);

  std::vector<Series> series_;
  std::vector<double> squareWaveWeights_;
  std::vector<double> additiveWeights_;
};

}  // namespace qalto
