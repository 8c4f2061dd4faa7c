#include "app/curve_history.h"

#include <algorithm>

namespace qalto {

namespace {

// Cell by cell over the rows either table stores; a row never written reads 0.
template <typename Table>
bool SameColumns(const Table& a, const Table& b) {
  const int rows = std::max(a.StoredRows(), b.StoredRows());
  for (int j = 0; j < a.Columns(); ++j) {
    for (int i = 0; i < rows; ++i) {
      if (a(i, j) != b(i, j)) return false;
    }
  }
  return true;
}

bool SamePotentials(const GrowingTable1<double>& a, const GrowingTable1<double>& b) {
  const int rows = std::max(a.StoredRows(), b.StoredRows());
  for (int i = 0; i < rows; ++i) {
    if (a(i) != b(i)) return false;
  }
  return true;
}

}  // namespace

bool CurveSet::SameCurves(const CurveSet& o) const {
  auto sameOrigins = std::equal(origins.begin(), origins.end(), o.origins.begin(),
                                [](const CurveOrigin& a, const CurveOrigin& b) {
                                  return a.source == b.source && a.name == b.name;
                                });
  const CurveStore& a = store;
  const CurveStore& b = o.store;
  return a.NumberOfPoints == b.NumberOfPoints && a.FirstPoint == b.FirstPoint &&
         a.LastPoint == b.LastPoint && a.CurveCount == b.CurveCount &&
         a.CurrentCurve == b.CurrentCurve && a.TargetCurve == b.TargetCurve && styles == o.styles &&
         hidden == o.hidden && sameOrigins && SamePotentials(a.PotentialX, b.PotentialX) &&
         SameColumns(a.CurrentY, b.CurrentY);
}

CurveSet TakeCurveSet(const Model& m) {
  CurveSet set;
  set.store = m;
  for (int k = 0; k <= kMaxCurves; ++k)
    set.styles[static_cast<size_t>(k)] = m.LineStyles(k);
  return set;
}

void PutCurveSet(const CurveSet& set, Model& m) {
  static_cast<CurveStore&>(m) = set.store;
  for (int k = 0; k <= kMaxCurves; ++k)
    m.LineStyles(k) = set.styles[static_cast<size_t>(k)];
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
