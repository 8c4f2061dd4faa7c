#pragma once
// Which curve slot a new simulated or imported curve goes to: slot 2 beside the data during a
// fit, the next slot when curves are overlaid (at most five), else slot 1.

#include "model/model.h"

namespace qalto {

// overlapChecked is the display options' "Overlap" box as shown (not its model copy).
void SelectCurveSlot(Model& model, bool overlapChecked);

}  // namespace qalto
