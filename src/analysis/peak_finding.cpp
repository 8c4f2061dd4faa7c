#include "analysis/peak_finding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "common/checked_math.h"
#include "common/point_index.h"

namespace qalto {
namespace {

// The points of curve k that the scan reads, from..to and two beyond either end as far as the
// tables reach, copied once out of the checked tables, which the scan reads many times; a point
// beyond them raises the tables' error, as reading the tables would.
class CurvePoints {
 public:
  CurvePoints(const Model& model, int k, int from, int to) : first_(std::max(0, from - 2)) {
    const int last = std::min({to + 2, model.PotentialX.Size() - 1, model.CurrentY.Rows() - 1});
    const size_t count = static_cast<size_t>(std::max(0, last - first_ + 1));
    x_.reserve(count);
    y_.reserve(count);
    magnitude_.reserve(count);
    model.PotentialX.AppendRows(first_, last, x_);
    model.CurrentY.AppendColumnRows(k, first_, last, y_);
    for (double y : y_)
      magnitude_.push_back(std::fabs(y));
  }

  int First() const { return first_; }
  int Last() const { return first_ + static_cast<int>(y_.size()) - 1; }
  double X(int i) const { return x_[At(i)]; }          // V
  double Y(int i) const { return y_[At(i)]; }          // A
  double A(int i) const { return magnitude_[At(i)]; }  // the magnitude, A
  // The potentials, currents and magnitudes of points First()..Last() side by side.
  std::span<const double> Xs() const { return x_; }
  std::span<const double> Ys() const { return y_; }
  const double* Magnitudes() const { return magnitude_.data(); }

 private:
  size_t At(int i) const {
    if (i < first_ || i > Last()) throw RuntimeError::SubscriptOutOfRange();
    return static_cast<size_t>(i - first_);
  }

  int first_;
  std::vector<double> x_, y_, magnitude_;
};

// The magnitude of the curve averaged over the five points around j, for every j of from..to
// whose points the tables hold, computed once for the scan, which reads each many times; one
// nearer the tables' ends is computed when asked for, with the tables' error beyond them.
class SmoothedMagnitude {
 public:
  SmoothedMagnitude(const CurvePoints& curve, int from, int to)
      : curve_(curve), first_(std::max(from, curve.First() + 2)) {
    const int last = std::min(to, curve.Last() - 2);
    if (last < first_) return;
    averages_.reserve(static_cast<size_t>(last - first_ + 1));
    const double* a = curve.Magnitudes() - curve.First();  // a[n]: point n's, within the range
    for (int j = first_; j <= last; ++j) {
      double sum = 0;
      for (int n = j - 2; n <= j + 2; ++n)
        sum += a[n];
      averages_.push_back(sum / 5);
    }
  }

  double operator()(int j) const {
    const size_t at = static_cast<size_t>(j - first_);
    return j >= first_ && at < averages_.size() ? averages_[at] : Average(j);
  }

 private:
  double Average(int j) const {
    double sum = 0;
    for (int n = j - 2; n <= j + 2; ++n)
      sum += curve_.A(n);
    return sum / 5;
  }

  const CurvePoints& curve_;
  int first_;
  std::vector<double> averages_;
};

// A peak of the magnitude at point i, judged on the magnitude averaged over five points, so that
// the scatter of a measured current (written to four digits, it often repeats a value at the
// top) neither hides a peak nor makes two: two rising flanks of two steps each on both sides
// (the outer step must rise, the inner one may stay level) and a top at least as high as both
// neighbours. The caller needs points i - 6 .. i + 6.
bool IsSmoothedPeak(const SmoothedMagnitude& a, int i) {
  // The top first: most points are not one, and the flanks need not be looked at.
  const bool top = a(i) >= a(i - 1) && a(i) >= a(i + 1);
  return top && a(i - 1) >= a(i - 2) && a(i + 1) >= a(i + 2) && a(i - 2) > a(i - 4) &&
         a(i + 2) > a(i + 4);
}

// The point of the largest magnitude within two points of i, the first of equal ones.
int TopNear(const CurvePoints& curve, int i) {
  int top = i - 2;
  for (int j = i - 1; j <= i + 2; ++j) {
    if (curve.A(j) > curve.A(top)) top = j;
  }
  return top;
}

void ClearPeaks(Model& model, int k) {
  for (int j = 1; j <= kMaxPeaks; ++j) {
    model.PeakPotential(j, k) = 0;
    model.PeakCurrent(j, k) = 0;
    model.HalfPeakPotential(j, k) = 0;
  }
  model.PeakCount = 0;
}

// The sweep directions of points from..to, looked up by point: at point i +1 for a rising
// potential, -1 falling, 0 at rest, from points a few steps apart, so that the scatter of a
// measured potential does not turn it.
class Directions {
 public:
  Directions(const CurvePoints& curve, int from, int to) : from_(from) {
    if (to < from) return;
    curve.X(from);
    curve.X(to);  // the tables' error for points beyond them, before reading side by side
    const std::span<const double> xs = curve.Xs();
    auto x = [&xs, &curve](int i) { return xs[static_cast<size_t>(i - curve.First())]; };
    constexpr int kSpan = 3;
    directions_.reserve(static_cast<size_t>(to - from + 1));
    for (int i = from; i <= to; ++i) {
      const double rise = x(std::min(to, i + kSpan)) - x(std::max(from, i - kSpan));
      directions_.push_back(rise > 0 ? 1 : rise < 0 ? -1 : 0);
    }
  }
  int At(int i) const { return directions_[static_cast<size_t>(i - from_)]; }

 private:
  int from_;
  std::vector<int> directions_;
};

// The first and last point of the sweep segment that holds point i.
std::pair<int, int> SegmentOf(const Directions& directions, int i, int from, int to) {
  int d = directions.At(i);
  int first = i;
  while (first > from && directions.At(first - 1) == d)
    --first;
  int last = i;
  while (last < to && directions.At(last + 1) == d)
    ++last;
  return {first, last};
}

// A straight line of current against potential, A and A/V.
struct Line {
  double at0 = 0;
  double slope = 0;
  double At(double E) const { return at0 + slope * E; }
};

// The least-squares line through points first..last; a horizontal line through their mean when
// their potentials do not differ.
Line FitLine(const CurvePoints& curve, int first, int last) {
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (int i = first; i <= last; ++i) {
    double x = curve.X(i), y = curve.Y(i);
    n += 1;
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  if (n == 0) return {};
  double spread = n * sxx - sx * sx;
  if (!(spread > 1e-12 * n * n)) return {sy / n, 0};
  double slope = (n * sxy - sx * sy) / spread;
  return {(sy - slope * sx) / n, slope};
}

// The magnitude of the slope of the least-squares line through every window of 2 span + 1
// points, from running sums over potentials taken from the segment's first one: a close
// estimate at a few operations per window, which tells the windows that cannot be the flattest
// from those that can. Negative for a window whose potentials barely differ, which only the
// exact fit judges.
std::vector<double> EstimatedSlopes(const CurvePoints& curve, int segmentStart, int firstCentre,
                                    int lastCentre, int span) {
  const double x0 = curve.X(segmentStart);
  const int first = firstCentre - span;
  const int last = lastCentre + span;
  if (last < first) return {};
  curve.X(first);
  curve.X(last);  // the tables' error for points beyond them, before reading side by side
  const double* xs = curve.Xs().data() + (first - curve.First());  // xs[n]: point first + n
  const double* ys = curve.Ys().data() + (first - curve.First());
  // Running sums of the points first..i, index i - first + 1.
  const size_t count = static_cast<size_t>(last - first + 1);
  std::vector<double> sx(count + 1), sy(count + 1), sxx(count + 1), sxy(count + 1);
  for (size_t n = 0; n < count; ++n) {
    const double x = xs[n] - x0, y = ys[n];
    sx[n + 1] = sx[n] + x;
    sy[n + 1] = sy[n] + y;
    sxx[n + 1] = sxx[n] + x * x;
    sxy[n + 1] = sxy[n] + x * y;
  }
  const double n = 2 * span + 1;
  std::vector<double> slopes;
  slopes.reserve(static_cast<size_t>(lastCentre - firstCentre + 1));
  for (int c = firstCentre; c <= lastCentre; ++c) {
    const size_t low = static_cast<size_t>(c - span - first), high = low + 2 * span + 1;
    const double wx = sx[high] - sx[low], wy = sy[high] - sy[low];
    const double spread = n * (sxx[high] - sxx[low]) - wx * wx;
    const double slope = (n * (sxy[high] - sxy[low]) - wx * wy) / spread;
    slopes.push_back(spread > 1e-9 * n * n ? std::fabs(slope) : -1.0);
  }
  return slopes;
}

// The foot of the wave of the peak at point p: where the curve runs flattest before the peak,
// among the points still below half the way from the segment's first current to the peak
// (the top of the peak is flat too), and the line through the points 20 mV around it. A
// flat start, the decay of the previous wave or of a quiet time: the wave rises from its foot.
// The running-sum estimates pass on to the exact fit only the windows within a millionth of
// the flattest, far beyond their rounding, so the foot is the one the exact fits of every
// window give.
Line FootLine(const CurvePoints& curve, int p, int segmentStart) {
  if (p - segmentStart < 6) return {};
  const double step =
      std::fabs(curve.X(p) - curve.X(segmentStart)) / (p - segmentStart);  // V per point
  const int span =
      std::clamp(step > 0 ? static_cast<int>(0.02 / step) : 2, 2, (p - segmentStart) / 3);
  const double first = curve.Y(segmentStart);
  const double top = curve.Y(p);
  const double sense = top >= first ? 1.0 : -1.0;  // the way the peak rises
  auto belowHalf = [&](int i) {
    return !(sense * (curve.Y(i) - first) > 0.5 * sense * (top - first));
  };
  const int firstCentre = segmentStart + span, lastCentre = p - span;
  const std::vector<double> estimates =
      EstimatedSlopes(curve, segmentStart, firstCentre, lastCentre, span);
  auto estimate = [&](int i) { return estimates[static_cast<size_t>(i - firstCentre)]; };
  double lowest = -1, highest = 0;
  for (int i = firstCentre; i <= lastCentre; ++i) {
    if (!belowHalf(i) || estimate(i) < 0) continue;
    if (lowest < 0 || estimate(i) < lowest) lowest = estimate(i);
    highest = std::max(highest, estimate(i));
  }
  const double candidate = lowest + 1e-6 * highest;
  int foot = firstCentre;
  double flattest = -1;
  for (int i = firstCentre; i <= lastCentre; ++i) {
    if (!belowHalf(i) || estimate(i) > candidate) continue;
    double slope = std::fabs(FitLine(curve, i - span, i + span).slope);
    if (flattest < 0 || slope < flattest) {
      flattest = slope;
      foot = i;
    }
  }
  return FitLine(curve, std::max(segmentStart, foot - span), std::min(p, foot + span));
}

// Ep/2 - Ep: where, before the peak in its segment, the current above the foot's line falls to
// half the peak's height, between the two points that straddle it; 0 when it never does.
double HalfWidthOf(const CurvePoints& curve, int p, int segmentStart, const Line& foot) {
  const double ep = curve.X(p);
  const double height = curve.Y(p) - foot.At(ep);  // A
  if (height == 0) return 0;
  auto above = [&](int i) {  // share of the height at point i
    return (curve.Y(i) - foot.At(curve.X(i))) / height;
  };
  for (int i = p - 1; i >= segmentStart; --i) {
    double a = above(i);
    if (a > 0.5) continue;
    double b = above(i + 1);
    double share = b != a ? (0.5 - a) / (b - a) : 0;
    double e = curve.X(i) + share * (curve.X(i + 1) - curve.X(i));
    return e - ep;
  }
  return 0;
}

// How far the magnitude at p stands above the higher of its two bases within its segment: on
// each side the lowest magnitude met before the curve rises above p (or the segment ends). 0
// when fewer than three points of the segment follow it (the turn of the sweep is no peak of
// the sweep). A steady wave's plateau, the ripple of noise on it, a bump on a foot and the
// lower of two tops of one broad peak stand out by little.
double Prominence(const CurvePoints& curve, int p, int segmentStart, int segmentEnd) {
  constexpr int kAfter = 3;
  if (segmentEnd - p < kAfter) return 0;
  const double top = curve.A(p);
  double before = top, after = top;
  for (int i = p - 1; i >= segmentStart && curve.A(i) <= top; --i)
    before = std::min(before, curve.A(i));
  for (int i = p + 1; i <= segmentEnd && curve.A(i) <= top; ++i)
    after = std::min(after, curve.A(i));
  return top - std::max(before, after);
}

// The top that point p belongs to, and how far it was looked for: the highest point met going
// either way along the segment until the magnitude falls more than `tolerance` below the
// highest so far (the first of equal ones), and the last point of that walk. The many tops that
// noise puts on one broad peak are that peak's one top; a peak beyond a deeper valley is not.
struct ClimbedTop {
  int top;
  int reach;
};

ClimbedTop Climb(const CurvePoints& curve, int p, int segmentStart, int segmentEnd,
                 double tolerance) {
  ClimbedTop climbed{p, p};
  for (bool moved = true; moved;) {
    moved = false;
    for (int step : {1, -1}) {
      int j = climbed.top + step;
      for (; j >= segmentStart && j <= segmentEnd && curve.A(j) >= curve.A(climbed.top) - tolerance;
           j += step) {
        if (curve.A(j) > curve.A(climbed.top)) {
          climbed.top = j;
          moved = true;
        }
      }
      if (step > 0) climbed.reach = std::max(climbed.reach, j - 1);
    }
  }
  return climbed;
}

// The scatter of the current from point to point, A: the median magnitude of the second
// differences over from..to, as a standard deviation (a second difference of independent noise
// has six times its variance, and a median magnitude is 0.6745 of it). A smooth curve has next
// to none; a noisy plateau's highest point stands a few of them above its lowest.
double Scatter(const CurvePoints& curve, int from, int to) {
  if (to - from < 2) return 0;
  curve.Y(from);
  curve.Y(to);  // the tables' error for points beyond them, before reading side by side
  const double* y = curve.Ys().data() + (from - curve.First());  // y[n]: point from + n
  std::vector<double> seconds(static_cast<std::size_t>(to - from - 1));
  for (std::size_t n = 1; n <= seconds.size(); ++n)
    seconds[n - 1] = std::fabs(y[n - 1] - 2 * y[n] + y[n + 1]);
  auto middle = seconds.begin() + static_cast<std::ptrdiff_t>(seconds.size() / 2);
  std::nth_element(seconds.begin(), middle, seconds.end());
  return *middle / (0.6745 * std::sqrt(6.0));
}

void ScanPeaks(Model& model, int k, int from, int to, std::vector<FoundPeak>& found) {
  if (to - from < 8) return;  // too short a curve for a peak with its flanks
  const CurvePoints curve(model, k, from, to);
  double threshold = 0.02 * std::fabs(model.PlotYMin - model.PlotYMax);  // A
  // A peak stands out of the noise by more than the extremes of a plateau's noise reach.
  constexpr double kNoiseProminence = 8;
  const double least = std::max(threshold / 2, kNoiseProminence * Scatter(curve, from, to));
  int lastPeak = -10;
  int looked = -10;  // the last point a climb to a top went over
  const SmoothedMagnitude smoothed(curve, from, to);
  const Directions directions(curve, from, to);
  for (int s = from + 4; s <= to - 4; ++s) {
    if (!IsSmoothedPeak(smoothed, s)) continue;
    const int near = TopNear(curve, s);
    // A flat top is one peak, at its first point; a point a climb went over has its top.
    if (near <= lastPeak + 2 || near <= looked) continue;
    auto [segmentStart, segmentEnd] = SegmentOf(directions, near, from, to);
    const ClimbedTop climbed = Climb(curve, near, segmentStart, segmentEnd, least);
    looked = climbed.reach;
    const int i = climbed.top;
    if (i <= lastPeak + 2 || curve.A(i) <= threshold) continue;
    if (Prominence(curve, i, segmentStart, segmentEnd) <= least) continue;
    lastPeak = i;
    Line foot = FootLine(curve, i, segmentStart);
    // A foot that puts the peak on the other side of it is no foot of this wave: then zero.
    if ((curve.Y(i) - foot.At(curve.X(i))) * curve.Y(i) <= 0) foot = {};
    // The tables hold 20 peaks per curve: on a noisy curve the first 20 in scan order are kept.
    if (model.PeakCount == kMaxPeaks) continue;
    ++model.PeakCount;
    model.PeakCurrent(model.PeakCount, k) = curve.Y(i);
    model.PeakPotential(model.PeakCount, k) = curve.X(i);
    FoundPeak peak{curve.X(i), curve.Y(i), foot.At(curve.X(i)), 0};
    peak.halfWidth = HalfWidthOf(curve, i, segmentStart, foot);
    found.push_back(peak);
  }
  if (!found.empty())
    model.HalfPeakPotential(1, k) = found.front().potential + found.front().halfWidth;
}

PeakPair Separation(const Model& model, int k) {
  double ep1 = model.PeakPotential(1, k);  // V
  double ep2 = model.PeakPotential(2, k);  // V
  return {ep2 - ep1, (ep2 + ep1) / 2};
}

// Whether every charge reaction joins adsorbed species: the current of a surface couple falls
// to zero past its peak, and no diffusion tail lies under the reverse peak.
bool SurfaceCouplesOnly(const Model& model) {
  if (model.ChargeReactionCount < 1) return false;
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    for (int side : {1, 2}) {
      const int s = model.ChargeReactionSpecies(r, side);
      if (s < 1 || model.SpeciesAdsorbed(s) != 1) return false;
    }
  }
  return true;
}

// The reverse-to-forward peak current ratio of a cyclic voltammogram from currents read
// against the zero line: the reverse peak is corrected for the decaying forward current it sits
// on by 0.485 times the current at the switching point, plus 0.08; a surface couple's reverse
// peak rises from zero and is taken as it stands.
PeakRatio Ratio(const Model& model, int k) {
  double ipc = model.PeakCurrent(1, k);   // forward peak, A
  double ipa0 = model.PeakCurrent(2, k);  // reverse peak against zero current, A
  double isp = model.CurrentY(ToPointIndex(model.SweepPoints), k);  // at the switching point, A
  double ratio = std::fabs(Div(ipa0, ipc));
  if (!SurfaceCouplesOnly(model)) ratio += 0.485 * std::fabs(Div(isp, ipc)) + 0.08;
  return {ratio, ipc, -ratio * ipc};
}

}  // namespace

PeakReport FindPeaks(Model& model, int from, int to) {
  PeakReport report;
  try {
    for (int k = 1; k <= model.CurveCount; ++k) {
      report.curves.emplace_back();
      ClearPeaks(model, k);
      CurvePeaks& found = report.curves.back();
      ScanPeaks(model, k, from, to, found.peaks);
      if (model.PeakCount == 2 && model.ScanCycles == 1) {
        found.pair = Separation(model, k);
        if (model.Technique == Technique::kSweep) found.ratio = Ratio(model, k);
      }
    }
  } catch (const RuntimeError&) {
    report.failure = std::current_exception();
  }
  return report;
}

}  // namespace qalto
