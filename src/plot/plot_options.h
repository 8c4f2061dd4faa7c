#pragma once
// The display settings a plot reads when it is drawn. The display options form fills them (and
// copies grid, overlap, typed ranges and line styles into the model) just before each plot.

#include <string>

namespace qalto {

struct PlotOptions {
  std::string quantity;        // what the y axis shows: "current I", "charge Q", ...
  bool reverseX = false;       // x decreases from left to right
  bool autoX = true;           // the x range is found from the data, else PlotXMin..PlotXMax
  bool autoY = true;           // the same for y
  bool rangeOverflow = false;  // a typed range was too large for a double: nothing is drawn
  bool timeAxis = false;       // x is the time of potential steps, not the potential
  bool frequencyAxis = false;  // x is the frequency of a power spectrum
};

}  // namespace qalto
