#pragma once
// The curves as they stood before each transform, import or fit, newest last, for Undo: the
// points of every curve, their names and origins, which are drawn, and the measured data behind
// the imported ones.

#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "app/curve_origin.h"
#include "files/imported_curve.h"
#include "model/model.h"

namespace qalto {

struct CurveSet {
  CurveStore store;  // as large as what it holds
  std::array<int, kMaxCurves + 1> styles{};
  CurveOrigins origins;
  std::array<bool, kMaxCurves + 1> hidden{};
  std::vector<std::optional<ImportedCurve>> imported;

  // Whether the set holds the curves of the model, with these origins and hidden curves, as
  // they stand: compared where they are, without taking a set of them.
  bool Holds(const Model& model, const CurveOrigins& nowOrigins,
             const std::array<bool, kMaxCurves + 1>& nowHidden) const;
};

// The curve store's part of the model as it stands, and putting it back.
CurveSet TakeCurveSet(const Model& model);
void PutCurveSet(const CurveSet& set, Model& model);

class CurveHistory {
 public:
  static constexpr size_t kDepth = 20;  // steps kept; each holds the points its curves have

  void Push(CurveSet set);
  std::optional<CurveSet> Pop();
  // Forgets the newest step when it holds the curves as they are (a command that changed none).
  void DropIfUnchanged(const Model& model, const CurveOrigins& origins,
                       const std::array<bool, kMaxCurves + 1>& hidden);
  bool Empty() const { return steps_.empty(); }
  void Clear() { steps_.clear(); }

 private:
  std::deque<CurveSet> steps_;
};

}  // namespace qalto
