#pragma once
// The plot window: where the plotter draws the curves. Its drawing is kept as a display list
// that the desktop window paints, and that is written to pictures, copied and printed.

#include <functional>

#include "drawing/recording_surface.h"
#include "ui/form.h"

namespace qalto {

class PlotWindow : public Form {
 public:
  PlotWindow() : Form("FormPlot", "Plot") {
    surface.observer = [this] {
      if (surface.Shown()) Show();
      if (drawingObserver) drawingObserver();
    };
  }

  // Whether anything has been drawn since the program started.
  bool HasDrawing() const { return surface.Shown(); }

  RecordingSurface surface;
  // Called after the drawing is shown or cleared.
  std::function<void()> drawingObserver;
};

}  // namespace qalto
