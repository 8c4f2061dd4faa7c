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
  int numberOfPoints = 0, firstPoint = 0, lastPoint = 0;
  int curveCount = 0, currentCurve = 0, targetCurve = 0;
  std::vector<double> x;               // points 0..the last one held
  std::vector<std::vector<double>> y;  // per slot 0..kMaxCurves, the same points
  std::array<int, kMaxCurves + 1> styles{};
  CurveOrigins origins;
  std::array<bool, kMaxCurves + 1> hidden{};
  std::vector<std::optional<ImportedCurve>> imported;

  bool SameCurves(const CurveSet& other) const;
};

// The curve store's part of the model as it stands, and putting it back.
CurveSet TakeCurveSet(const Model& model);
void PutCurveSet(const CurveSet& set, Model& model);

class CurveHistory {
 public:
  static constexpr size_t kDepth = 20;  // steps kept; each holds at most 9 curves of 100000 points

  void Push(CurveSet set);
  std::optional<CurveSet> Pop();
  // Forgets the newest step when it equals the curves as they are (a command that changed none).
  void DropIfUnchanged(const CurveSet& now);
  bool Empty() const { return steps_.empty(); }
  void Clear() { steps_.clear(); }

 private:
  std::deque<CurveSet> steps_;
};

}  // namespace qalto
