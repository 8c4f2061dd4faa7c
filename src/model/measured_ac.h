#pragma once
// A measured AC voltammogram in a slot of the curve store: its raw current, sampled every
// MeasuredAcInterval(slot) seconds, which the slot shows as it is or, for the display options'
// AC choices, as one of its harmonics; the raw current is then kept aside in MeasuredAcCurrent,
// so that the choice "current I" and a fit find it again.

#include <vector>

#include "model/model.h"

namespace qalto {

// The slot's curve, as CurrentY holds it now, is a measured AC current sampled every interval
// (s).
void NoteMeasuredAc(Model& model, int slot, double interval);
// The slot no longer holds a measured AC current (a simulation or another import wrote it).
void ForgetMeasuredAc(Model& model, int slot);
bool HoldsMeasuredAc(const Model& model, int slot);
// The raw current of the slot's points 1..NumberOfPoints, A; CurrentY's when it holds no
// measured AC current.
std::vector<double> MeasuredAcRaw(const Model& model, int slot);
// The slot is about to show something derived from its raw current: the raw current is kept.
void KeepMeasuredAcAside(Model& model, int slot);
// The slot, if it shows something derived, shows its raw current again.
void RestoreMeasuredAc(Model& model, int slot);
// Every slot that shows something derived shows its raw current again.
void RestoreMeasuredAc(Model& model);

// Slots 1..8 are about to show the eight envelopes of one measured AC voltammogram: what each
// shows is kept (a measured AC current as KeepMeasuredAcAside keeps it, any other curve in
// HarmonicsKeptCurves), and the curve count. NarrowFromHarmonics gives both back; it does
// nothing where the slots were not taken.
void WidenToHarmonics(Model& model);
void NarrowFromHarmonics(Model& model);

}  // namespace qalto
