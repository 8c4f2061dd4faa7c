#pragma once
// The arrangement of a form window's widgets, from the order and the grid hints of its controls.
//
// Inside a frame, controls with grid hints take their row and column, so that like values line
// up in columns (one row per species or reaction); controls without hints follow below: in a
// frame with a grid they share one line, in a frame without one each takes a row of its own, a
// label beside the text box or list it names. Frames inside frames take full rows.
//
// On the window itself, the frames (each with a loose control that heads it) form blocks that
// are set in columns, as many as give the window the proportions of a screen; the buttons sit
// in a row at the bottom right.

#include <QWidget>
#include <vector>

#include "desktop/control_binding.h"

namespace qalto {

// The widgets were made as children of their frame's widget (or of root); their visibility is
// already set, since hidden widgets take no room when the columns are balanced.
void ArrangeForm(QWidget* root, const std::vector<ControlBinding*>& bindings);

}  // namespace qalto
