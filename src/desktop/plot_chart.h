#pragma once
// The interactive plot's picture at one size and one visible range: a frame with ticks and
// labelled axes, every curve in its own colour, line style or marker shape from a palette that
// stays distinct in print and for colour-blind readers, a legend naming the curves, and, after
// a fit, the residual in a strip of its own under the curves. The same painting serves the
// window and the SVG, PNG and PDF pictures.

#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <optional>

#include "desktop/chart_data.h"

namespace qalto {

// The curve store point nearest to a pixel of the plot.
struct NearestPoint {
  QString curve;
  int index = 0;  // position in the curve, 0 = first point drawn
  QPointF value;  // (potential, value)
  double pixels = 0;
};

class PlotChart {
 public:
  PlotChart(const ChartData& data, const ChartRange& view, QSizeF size);

  // Where the curves are drawn, and the residual's strip (empty without a fit).
  QRectF PlotArea() const { return plotArea_; }
  QRectF ResidualArea() const { return residualArea_; }
  QPointF ToPixel(QPointF value) const;
  QPointF ToValue(QPointF pixel) const;
  std::optional<NearestPoint> Nearest(QPointF pixel) const;

  // "I / µA": the quantity and the unit with the prefix the y labels are written in.
  QString YTitle() const;
  // The cursor readout for a pixel inside the plot area.
  QString Readout(QPointF pixel) const;

  void Paint(QPainter& painter) const;

 private:
  void PaintAxes(QPainter& painter) const;
  void PaintCurve(QPainter& painter, const ChartCurve& curve, const QRectF& area,
                  const ChartRange& range) const;
  void PaintResidual(QPainter& painter) const;
  void PaintLegend(QPainter& painter) const;
  // The legend's box of that size in the place the data ask for.
  QRectF LegendBox(QSizeF size) const;
  // How many drawn points a box of the plot area covers.
  size_t PointsIn(const QRectF& box) const;
  QPointF Map(QPointF value, const QRectF& area, const ChartRange& range) const;

  const ChartData& data_;
  ChartRange view_;
  ChartRange residualRange_;
  QSizeF size_;
  QRectF plotArea_;
  QRectF residualArea_;
  double yScale_ = 1;  // the y labels show value / yScale_
  QString yPrefix_;
};

// The pen colour of a curve slot (slot 0: the residual).
QColor CurveColour(int slot);

// Values at round steps (1, 2 or 5 times a power of ten) from min to max, about count of them.
std::vector<double> NiceTicks(double min, double max, int count);

}  // namespace qalto
