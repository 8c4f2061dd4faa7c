#pragma once
// The plot window: where the plotter draws the curves. The drawing is kept as a display list,
// which the desktop window paints at whatever size the window has and which the clipboard, the
// printer and picture files take as it stands.

#include "ui/form.h"
#include "ui/recording_surface.h"

namespace qalto {

class PlotWindow : public Form {
 public:
  PlotWindow() : Form("FormPlot", "Plot") {
    // The plotter shows the window through its drawing surface.
    surface_.observer = [this] {
      if (surface_.Shown()) Show();
    };
  }

  RecordingSurface& Surface() { return surface_; }
  const RecordingSurface& Surface() const { return surface_; }

 private:
  RecordingSurface surface_;
};

}  // namespace qalto
