#include "simulation/staircase_history.h"

#include <algorithm>
#include <cmath>

#include "common/checked_math.h"
#include "simulation/kinetic_currents.h"

namespace qalto {
namespace {

// A run has at most a few reactions times four staircases; more means the arguments keep
// changing, and the oldest series are of no further use.
constexpr size_t kMaxSeries = 32;

void GrowWeights(std::vector<double>& weights, int qMax, double (*weight)(double)) {
  if (qMax < static_cast<int>(weights.size())) return;
  size_t first = weights.size();
  weights.resize(static_cast<size_t>(qMax) + 1, 0.0);
  for (size_t q = std::max<size_t>(first, 2); q < weights.size(); ++q) {
    weights[q] = weight(static_cast<double>(q));
  }
}

double SquareWaveWeight(double q) {
  return 1.0 / std::sqrt(q + 1.0) - 2.0 / std::sqrt(q) + 1.0 / std::sqrt(q - 1.0);
}

double AdditiveWeight(double q) {
  return 1.0 / std::sqrt(q + 1.0) - 1.0 / std::sqrt(q - 1.0);
}

KineticArguments SeriesKey(KineticArguments args) {
  args.E = 0.0;
  args.CO = 0.0;
  args.CR = 0.0;
  args.P = 0.0;
  return args;
}

}  // namespace

const double* StaircaseHistory::SquareWaveWeights(int qMax) {
  GrowWeights(squareWaveWeights_, qMax, SquareWaveWeight);
  return squareWaveWeights_.data();
}

const double* StaircaseHistory::AdditiveWeights(int qMax) {
  GrowWeights(additiveWeights_, qMax, AdditiveWeight);
  return additiveWeights_.data();
}

StaircaseHistory::Series& StaircaseHistory::FindSeries(const Model& model, StepResponse response,
                                                       const KineticArguments& args,
                                                       const Staircase& stairs) {
  KineticArguments key = SeriesKey(args);
  for (Series& series : series_) {
    if (series.response == response && series.key == key && series.stairs == stairs &&
        series.fOverRT == model.FOverRT && series.radius == model.Radius) {
      return series;
    }
  }
  if (series_.size() >= kMaxSeries) series_.clear();
  series_.push_back(Series{response, key, stairs, model.FOverRT, model.Radius, {}, {}});
  return series_.back();
}

void StaircaseHistory::Extend(const Model& model, Series& series, int mLast) {
  const Staircase& stairs = series.stairs;
  KineticArguments unitO = series.key;
  unitO.CO = 1.0;
  KineticArguments unitR = series.key;
  unitR.CR = 1.0;
  for (int m = stairs.mFirst + static_cast<int>(series.perCO.size()); m <= mLast; ++m) {
    double Em = stairs.Ebase + stairs.d * (m * stairs.step);  // potential of step m, V
    switch (series.response) {
      case StepResponse::kPlanar: {
        double perCO = PlanarKineticCurrent(model, AtPotential(unitO, Em));
        double perCR = PlanarKineticCurrent(model, AtPotential(unitR, Em));
        series.perCO.push_back(perCO);
        series.perCR.push_back(perCR);
        break;
      }
      case StepResponse::kSpherical: {
        double perCO = SphericalKineticCurrent(model, AtPotential(unitO, Em));
        double perCR = SphericalKineticCurrent(model, AtPotential(unitR, Em));
        series.perCO.push_back(perCO);
        series.perCR.push_back(perCR);
        break;
      }
      case StepResponse::kNernst:
        series.perCO.push_back(NernstReducedFraction(model, AtPotential(unitO, Em)));
        break;
    }
  }
}

double StaircaseHistory::WeightedSum(const Model& model, StepResponse response,
                                     const KineticArguments& args, const Staircase& stairs,
                                     int mLast, const double* weights, int i) {
  if (mLast < stairs.mFirst) return 0.0;
  Series& series = FindSeries(model, response, args, stairs);
  Extend(model, series, mLast);
  // Step m = mFirst + j is weighted by weights[i - m].
  int count = mLast - stairs.mFirst + 1;
  const double* weight = weights + (i - stairs.mFirst);
  const double* perCO = series.perCO.data();
  if (response == StepResponse::kNernst) {
    double sum = 0.0;
    for (int j = 0; j < count; ++j)
      sum += weight[-j] * perCO[j];
    return Checked(sum);
  }
  const double* perCR = series.perCR.data();
  double sumO = 0.0;
  double sumR = 0.0;
  for (int j = 0; j < count; ++j) {
    sumO += weight[-j] * perCO[j];
    sumR += weight[-j] * perCR[j];
  }
  return Checked(args.CO * sumO + args.CR * sumR);
}

}  // namespace qalto
