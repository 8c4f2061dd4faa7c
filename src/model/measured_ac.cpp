#include "model/measured_ac.h"

#include <algorithm>
#include <cstddef>

namespace qalto {
namespace {

bool InStore(int slot) {
  return slot >= 1 && slot <= kMaxCurves;
}

}  // namespace

void NoteMeasuredAc(Model& model, int slot, double interval) {
  if (!InStore(slot)) return;
  model.MeasuredAcInterval(slot) = interval;
  model.MeasuredAcKept(slot) = 0;
}

void ForgetMeasuredAc(Model& model, int slot) {
  if (!InStore(slot)) return;
  model.MeasuredAcInterval(slot) = 0;
  model.MeasuredAcKept(slot) = 0;
}

bool HoldsMeasuredAc(const Model& model, int slot) {
  return InStore(slot) && model.MeasuredAcInterval(slot) > 0;
}

std::vector<double> MeasuredAcRaw(const Model& model, int slot) {
  const bool kept = HoldsMeasuredAc(model, slot) && model.MeasuredAcKept(slot) != 0;
  std::vector<double> raw(static_cast<std::size_t>(std::max(model.NumberOfPoints, 0)));
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    raw[static_cast<std::size_t>(i - 1)] =
        kept ? model.MeasuredAcCurrent(i, slot) : model.CurrentY(i, slot);
  return raw;
}

void KeepMeasuredAcAside(Model& model, int slot) {
  if (!HoldsMeasuredAc(model, slot) || model.MeasuredAcKept(slot) != 0) return;
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    model.MeasuredAcCurrent(i, slot) = model.CurrentY(i, slot);
  model.MeasuredAcKept(slot) = 1;
}

void RestoreMeasuredAc(Model& model, int slot) {
  if (!HoldsMeasuredAc(model, slot) || model.MeasuredAcKept(slot) == 0) return;
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    model.CurrentY(i, slot) = model.MeasuredAcCurrent(i, slot);
  model.MeasuredAcKept(slot) = 0;
}

void RestoreMeasuredAc(Model& model) {
  for (int slot = 1; slot <= kMaxCurves; ++slot)
    RestoreMeasuredAc(model, slot);
}

void WidenToHarmonics(Model& model) {
  if (model.HarmonicsWidenedFrom > 0) return;  // what they showed is kept already
  for (int slot = 1; slot <= kAcHarmonics; ++slot) {
    if (HoldsMeasuredAc(model, slot)) {
      KeepMeasuredAcAside(model, slot);
    } else if (slot <= model.CurveCount) {
      for (int i = 1; i <= model.NumberOfPoints; ++i)
        model.HarmonicsKeptCurves(i, slot) = model.CurrentY(i, slot);
    }
  }
  model.HarmonicsWidenedFrom = std::max(model.CurveCount, 1);
}

void NarrowFromHarmonics(Model& model) {
  const int count = model.HarmonicsWidenedFrom;
  if (count == 0) return;
  for (int slot = 1; slot <= kAcHarmonics; ++slot) {
    if (HoldsMeasuredAc(model, slot)) {
      RestoreMeasuredAc(model, slot);
    } else if (slot <= count) {
      for (int i = 1; i <= model.NumberOfPoints; ++i)
        model.CurrentY(i, slot) = model.HarmonicsKeptCurves(i, slot);
    }
  }
  model.HarmonicsKeptCurves.Clear();
  model.CurveCount = count;
  model.HarmonicsWidenedFrom = 0;
}

}  // namespace qalto
