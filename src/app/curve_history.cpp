#include "app/curve_history.h"

#include <algorithm>

namespace qalto {

bool CurveSet::SameCurves(const CurveSet& o) const {
  auto sameOrigins = std::equal(origins.begin(), origins.end(), o.origins.begin(),
                                [](const CurveOrigin& a, const CurveOrigin& b) {
                                  return a.source == b.source && a.name == b.name;
                                });
  return numberOfPoints == o.numberOfPoints && firstPoint == o.firstPoint &&
         lastPoint == o.lastPoint && curveCount == o.curveCount && currentCurve == o.currentCurve &&
         targetCurve == o.targetCurve && x == o.x && y == o.y && styles == o.styles &&
         hidden == o.hidden && sameOrigins;
}

CurveSet TakeCurveSet(const Model& m) {
  CurveSet set;
  set.numberOfPoints = m.NumberOfPoints;
  set.firstPoint = m.FirstPoint;
  set.lastPoint = m.LastPoint;
  set.curveCount = m.CurveCount;
  set.currentCurve = m.CurrentCurve;
  set.targetCurve = m.TargetCurve;
  const int last = std::clamp(std::max(m.NumberOfPoints, m.LastPoint), 0, kMaxPoints);
  set.x.resize(static_cast<size_t>(last) + 1);
  for (int i = 0; i <= last; ++i)
    set.x[static_cast<size_t>(i)] = m.PotentialX(i);
  set.y.assign(kMaxCurves + 1, std::vector<double>(static_cast<size_t>(last) + 1));
  for (int k = 0; k <= kMaxCurves; ++k) {
    for (int i = 0; i <= last; ++i)
      set.y[static_cast<size_t>(k)][static_cast<size_t>(i)] = m.CurrentY(i, k);
    set.styles[static_cast<size_t>(k)] = m.LineStyles(k);
  }
  return set;
}

void PutCurveSet(const CurveSet& set, Model& m) {
  m.NumberOfPoints = set.numberOfPoints;
  m.FirstPoint = set.firstPoint;
  m.LastPoint = set.lastPoint;
  m.CurveCount = set.curveCount;
  m.CurrentCurve = set.currentCurve;
  m.TargetCurve = set.targetCurve;
  const int last = static_cast<int>(set.x.size()) - 1;
  for (int i = 0; i <= last; ++i)
    m.PotentialX(i) = set.x[static_cast<size_t>(i)];
  for (int k = 0; k <= kMaxCurves; ++k) {
    for (int i = 0; i <= last; ++i)
      m.CurrentY(i, k) = set.y[static_cast<size_t>(k)][static_cast<size_t>(i)];
    m.LineStyles(k) = set.styles[static_cast<size_t>(k)];
  }
}

void CurveHistory::Push(CurveSet set) {
  steps_.push_back(std::move(set));
  if (steps_.size() > kDepth) steps_.pop_front();
}

std::optional<CurveSet> CurveHistory::Pop() {
  if (steps_.empty()) return std::nullopt;
  CurveSet set = std::move(steps_.back());
  steps_.pop_back();
  return set;
}

void CurveHistory::DropIfUnchanged(const CurveSet& now) {
  if (!steps_.empty() && steps_.back().SameCurves(now)) steps_.pop_back();
}

}  // namespace qalto
