#pragma once
// The plot window: where the plotter draws the curves.

#include "ui/form.h"

namespace qalto {

class PlotWindow : public Form {
 public:
  PlotWindow() : Form("FormPlot", "Plot") {}
};

}  // namespace qalto
