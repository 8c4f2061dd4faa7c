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

bool CurveSet::Holds(const Model& m, const CurveOrigins& nowOrigins,
                     const std::array<bool, kMaxCurves + 1>& nowHidden) const {
  auto sameOrigins = std::equal(origins.begin(), origins.end(), nowOrigins.begin(),
                                [](const CurveOrigin& a, const CurveOrigin& b) {
                                  return a.source == b.source && a.name == b.name;
                                });
  for (int k = 0; k <= kMaxCurves; ++k) {
    if (styles[static_cast<size_t>(k)] != m.LineStyles(k)) return false;
  }
  const CurveStore& a = store;
  return a.NumberOfPoints == m.NumberOfPoints && a.FirstPoint == m.FirstPoint &&
         a.LastPoint == m.LastPoint && a.CurveCount == m.CurveCount &&
         a.CurrentCurve == m.CurrentCurve && a.TargetCurve == m.TargetCurve &&
         hidden == nowHidden && sameOrigins && SamePotentials(a.PotentialX, m.PotentialX) &&
         SameColumns(a.CurrentY, m.CurrentY);
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

void CurveHistory::DropIfUnchanged(const Model& model, const CurveOrigins& origins,
                                   const std::array<bool, kMaxCurves + 1>& hidden) {
  if (!steps_.empty() && steps_.back().Holds(model, origins, hidden)) steps_.pop_back();
}

}  // namespace qalto
