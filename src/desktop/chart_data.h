#pragma once
// The curves of the plot window as the interactive plot shows them: every curve of the store
// with its name and its kind (measured data as markers, computed curves as lines), the fit's
// residual, the axis titles and the automatic range, copied out of the application after each
// event so that painting never reads the model while a background run writes it.

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "app/app.h"

namespace qalto {

struct ChartRange {
  double xMin = 0, xMax = 1;  // V
  double yMin = 0, yMax = 1;  // A (or M for concentrations)

  bool Valid() const { return xMax > xMin && yMax > yMin; }
  bool operator==(const ChartRange&) const = default;
};

struct ChartCurve {
  QString name;
  std::vector<QPointF> points;  // (potential, value)
  bool markers = false;         // measured points are drawn as markers, computed ones as lines
  int slot = 1;                 // curve store slot: picks colour, line style and marker shape
};

// Where the legend stands in the plot: in the corner where it covers the fewest points, in a
// corner the user chose, or nowhere.
enum class LegendPlace { kAuto, kTopLeft, kTopRight, kBottomLeft, kBottomRight, kHidden };

struct ChartData {
  std::vector<ChartCurve> curves;
  std::optional<ChartCurve> residual;  // measured minus fitted current, after a fit
  QString xTitle = "E / V";
  QString yQuantity = "I";  // the y axis title is the quantity and a unit with its prefix
  QString yUnit = "A";
  bool xReversed = false;  // the highest potential at the left, as polarographers draw it
  bool grid = false;
  LegendPlace legend = LegendPlace::kAuto;
  ChartRange automatic;  // the range the plotter chose (or the one typed in the options)

  bool Empty() const { return curves.empty(); }
};

ChartData ChartDataOf(App& app);

}  // namespace qalto
