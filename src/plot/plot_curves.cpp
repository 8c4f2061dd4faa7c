#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/checked_math.h"
#include "common/int16.h"
#include "common/number_format.h"
#include "common/runtime_error.h"
#include "plot/ac_plot.h"
#include "plot/plotter.h"

namespace qalto {
namespace {

// The most ticks one loop may draw, as many as a 16-bit count holds: the x tick count is such a
// count, and typed y limits far beyond the tick unit would otherwise swamp the picture.
constexpr double kMaxTicks = 32767;

// Raises "Overflow" when a tick loop from start to end in steps of step would run longer.
void CheckTickCount(double start, double end, double step) {
  if (std::fabs(end - start) > kMaxTicks * std::fabs(step)) throw RuntimeError::Overflow();
}

// v + step, the next value of a tick loop. A step lost in the magnitude of v would never end
// the loop: that is an overflow, which ends the plot like any other run-time error.
double Advance(double v, double step) {
  double next = v + step;
  if (next == v) throw RuntimeError::Overflow();
  return next;
}

// One plot: the steps in the order they are drawn, with the working values they share.
class CurvePlot {
 public:
  CurvePlot(PlotContext& context, int first, int last, const GrowingTable1<double>& x,
            const GrowingTable2<double>& y, const Table1<int>& styles)
      : m_(context.model),
        options_(context.options),
        surface_(context.surface),
        first_(first),
        last_(last),
        x_(x),
        styles_(styles) {
    TakeSnapshot(y);
  }

  Outcome Draw() {
    Outcome layout = LayOut();
    if (!layout) Paint();
    return layout;
  }

  // What the plot writes into the model (the ranges), on a window shown and cleared; the
  // failure of an empty range, after which there is no picture to paint.
  Outcome LayOut() {
    if (options_.rangeOverflow) throw RuntimeError::Overflow();
    surface_.Show();
    surface_.Clear();
    if (options_.autoX) AutoscaleX();
    if (options_.autoY) AutoscaleY();
    FindTickUnit();
    yRange_ = Checked(m_.PlotYMax - m_.PlotYMin);
    xRange_ = Checked(m_.PlotXMax - m_.PlotXMin);
    if (yRange_ == 0.0 || xRange_ == 0.0) {
      return Failure{"Error: No data!"};
    }
    return std::nullopt;
  }

  // The y values of curves 1..CurveCount at points first..last, curve after curve.
  const std::vector<double>& Snapshot() const { return snapshot_; }

  // The picture; it reads the model and writes only the window.
  void Paint() {
    SetWindow();
    DrawYTitle();
    DrawZeroLine();
    if (options_.reverseX) {
      // x decreases from left to right; what is drawn already keeps its place.
      surface_.SetScale(xRight_, yTop_, xLeft_, yBottom_);
    }
    surface_.DrawRectangle(m_.PlotXMin, m_.PlotYMin, m_.PlotXMax, m_.PlotYMax);
    surface_.SetPosition((m_.PlotXMax + m_.PlotXMin) / 2, m_.PlotYMin - unit_);
    surface_.Print(options_.frequencyAxis ? "f /Hz" : options_.timeAxis ? "t /s" : "E /V");
    DrawCurves();
    DrawXTicks();
    DrawYTicks();
    if (m_.ShowGrid) DrawGrid();
  }

 private:
  // The drawing works on a copy of the y values of curves 1..CurveCount, points first..last.
  // A point or curve outside the tables fails here, before the window is touched.
  void TakeSnapshot(const GrowingTable2<double>& y) {
    curveCount_ = m_.CurveCount;
    points_ = last_ >= first_ ? int64_t{last_} - first_ + 1 : 0;
    int64_t reserved =
        std::min<int64_t>(points_, kMaxPoints + 1) * std::clamp(curveCount_, 0, kMaxCurves);
    snapshot_.reserve(static_cast<size_t>(reserved));
    if (points_ == 0) return;
    for (int k = 1; k <= curveCount_; ++k)
      y.AppendColumnRows(k, first_, last_, snapshot_);
  }

  double Y(int j, int k) const {
    return snapshot_[static_cast<size_t>((k - 1) * points_ + (j - first_))];
  }

  void AutoscaleX() {
    m_.PlotXMax = x_(first_);
    m_.PlotXMin = x_(last_);
    for (int j = first_; j <= last_; ++j) {
      if (x_(j) > m_.PlotXMax) m_.PlotXMax = x_(j);
      if (x_(j) < m_.PlotXMin) m_.PlotXMin = x_(j);
    }
  }

  // Zero is always inside an automatic y range.
  void AutoscaleY() {
    m_.PlotYMin = 0;
    m_.PlotYMax = 0;
    for (int k = 1; k <= curveCount_; ++k) {
      for (int j = first_; j <= last_; ++j) {
        if (Y(j, k) > m_.PlotYMax) m_.PlotYMax = Y(j, k);
        if (Y(j, k) < m_.PlotYMin) m_.PlotYMin = Y(j, k);
      }
    }
  }

  // The tick unit a is the power of ten 10^i (i = -15..6) with a <= Ybig < 10 a, 10^6 when none
  // fits; an automatic y range is widened outward to whole multiples of it.
  void FindTickUnit() {
    double yBig = std::max(m_.PlotYMax, std::fabs(m_.PlotYMin));
    for (int i = -15; i <= 6; ++i) {
      unit_ = std::pow(10.0, i);
      if (yBig >= unit_ && yBig < std::pow(10.0, i + 1)) {
        if (options_.autoY) {
          m_.PlotYMax = unit_ * (1 + std::trunc(Div(m_.PlotYMax, unit_)));
          m_.PlotYMin = unit_ * (std::trunc(Div(m_.PlotYMin, unit_)) - 1);
        }
        return;
      }
    }
  }

  // The window shows the frame with a tenth of the x range on either side, 1.2 units of y
  // above it for the title and 1.5 below for the labels; y grows upward.
  void SetWindow() {
    xLeft_ = Checked(m_.PlotXMin - 0.1 * xRange_);
    xRight_ = Checked(m_.PlotXMax + 0.1 * xRange_);
    yTop_ = Checked(m_.PlotYMax + 1.2 * unit_);
    yBottom_ = Checked(m_.PlotYMin - 1.5 * unit_);
    surface_.SetScale(xLeft_, yTop_, xRight_, yBottom_);
  }

  // The quantity and its unit, then the power of ten that the y labels are multiples of.
  void DrawYTitle() {
    const std::string& quantity = options_.quantity;
    std::string title;
    if (quantity == "current I") {
      title = "I /A  ";
    } else if (quantity == "resistance R") {
      title = "R /Ohm  ";
    } else if (quantity == "conductance Cond") {
      title = "Cond *Ohm  ";
    } else if (quantity == "surface concentration C") {
      title = "C /M  ";
    } else if (quantity == "charge Q") {
      title = "Q /C  ";
    } else if (quantity == kPowerSpectrum) {
      title = "log(P /A²)  ";
    } else if (HarmonicOf(quantity) >= 0 || quantity == kAllHarmonics) {
      title = "I /A  ";
    } else {
      return;  // a quantity without a title has no unit line either
    }
    surface_.SetPosition(xLeft_, yTop_);
    surface_.Print(title + FormatNumber(unit_, "0E-0"));
  }

  void DrawZeroLine() {
    if (!(m_.PlotYMax > 0 && m_.PlotYMin < 0)) return;
    surface_.SetLineStyle(LineStyle::kDashed);
    surface_.DrawLine(m_.PlotXMin, 0, m_.PlotXMax, 0);
    surface_.SetLineStyle(LineStyle::kSolid);
  }

  // Every point of the range is drawn, however many there are.
  void DrawCurves() {
    for (int k = 1; k <= curveCount_; ++k) {
      switch (styles_(k)) {
        case 1:
          for (int j = first_; j <= last_; ++j) {
            surface_.SetPoint(x_(j), Y(j, k));
          }
          break;
        case 2:
          for (int j = first_; j <= last_; ++j) {
            surface_.DrawRectangleBySize(x_(j) - 0.005 * xRange_, Y(j, k) - 0.005 * yRange_,
                                         0.01 * xRange_, 0.01 * yRange_);
          }
          break;
        case 3:
          surface_.SetPoint(x_(first_), Y(first_, k));
          for (int j = first_ + 1; j <= last_; ++j) {
            surface_.DrawLineTo(x_(j), Y(j, k));
          }
          break;
        default:
          break;  // no style: the curve is not drawn
      }
    }
  }

  // About ten ticks per volt, spaced so that they divide the x range evenly.
  void DrawXTicks() {
    int nX = ToInt16(Checked(10 * xRange_));
    dX_ = Div(xRange_, nX);
    CheckTickCount(m_.PlotXMin, m_.PlotXMax, dX_);
    for (double xt = m_.PlotXMin; xt <= m_.PlotXMax; xt = Advance(xt, dX_)) {
      surface_.DrawLine(xt, m_.PlotYMin, xt, m_.PlotYMin + 0.02 * yRange_);
      surface_.SetPosition(xt, m_.PlotYMin);
      surface_.Print(FormatNumber(xt, "0.##"));
    }
  }

  // Ticks on the side of the frame at the left of the window, labelled in multiples of the
  // unit that the y title names.
  void DrawYTicks() {
    if (!options_.reverseX) {
      int nY = ToInt16(Div(m_.PlotYMax, unit_));
      double dY = Div(m_.PlotYMax, nY);
      CheckTickCount(m_.PlotYMin, m_.PlotYMax, dY);
      for (double yt = m_.PlotYMin; yt <= m_.PlotYMax; yt = Advance(yt, dY)) {
        surface_.DrawLine(m_.PlotXMin, yt, m_.PlotXMin + 0.01 * xRange_, yt);
        surface_.SetPosition(m_.PlotXMin - 0.04 * xRange_, yt);
        surface_.Print(FormatNumber(Div(yt, unit_), "0"));
      }
    } else {
      int nY = ToInt16(Div(m_.PlotYMin, unit_));
      double dY = Div(m_.PlotYMin, nY);
      CheckTickCount(m_.PlotYMax, m_.PlotYMin, dY);
      for (double yt = m_.PlotYMax; yt >= m_.PlotYMin; yt = Advance(yt, -dY)) {
        surface_.DrawLine(m_.PlotXMax, yt, m_.PlotXMax - 0.01 * xRange_, yt);
        surface_.SetPosition(m_.PlotXMax + 0.04 * xRange_, yt);
        surface_.Print(FormatNumber(Div(yt, unit_), "0"));
      }
    }
  }

  void DrawGrid() {
    for (double xt = m_.PlotXMin; xt < m_.PlotXMax; xt = Advance(xt, dX_)) {
      surface_.DrawLine(xt, m_.PlotYMin, xt, m_.PlotYMax);
    }
    int nY = ToInt16(Div(m_.PlotYMax, unit_));
    double dY = Div(m_.PlotYMax, nY);
    CheckTickCount(m_.PlotYMin, m_.PlotYMax, dY);
    for (double yt = m_.PlotYMin; yt < m_.PlotYMax; yt = Advance(yt, dY)) {
      surface_.DrawLine(m_.PlotXMin, yt, m_.PlotXMax, yt);
    }
  }

  Model& m_;
  const PlotOptions& options_;
  DrawingSurface& surface_;
  int first_;
  int last_;
  const GrowingTable1<double>& x_;
  const Table1<int>& styles_;

  int curveCount_ = 0;
  int64_t points_ = 0;
  std::vector<double> snapshot_;  // y(j, k) at (k - 1) * points_ + (j - first_)

  double unit_ = 0.0;    // tick unit a, a power of ten in the unit of y
  double xRange_ = 0.0;  // V
  double yRange_ = 0.0;
  double dX_ = 0.0;  // x tick spacing, V
  double xLeft_ = 0.0;
  double xRight_ = 0.0;
  double yTop_ = 0.0;
  double yBottom_ = 0.0;
};

// The picture's own copy of what the plot reads, taken before the layout writes the ranges: the
// display settings, the number of curves, and points first..last of x and of the curves (the
// plot's snapshot of them). The model the painting reads is made from it only when the picture
// is painted.
struct PictureInputs {
  PictureInputs(const Model& model, int first, int last, const GrowingTable1<double>& x,
                const Table1<int>& styles, const std::vector<double>& snapshot)
      : xMin(model.PlotXMin),
        xMax(model.PlotXMax),
        yMin(model.PlotYMin),
        yMax(model.PlotYMax),
        showGrid(model.ShowGrid),
        curveCount(model.CurveCount),
        styles(styles),
        first(first),
        last(last),
        low(std::max(first, 0)),
        high(std::min(last, x.Size() - 1)),
        y(snapshot) {
    x.AppendRows(low, high, this->x);
  }

  std::unique_ptr<Model> MakeModel() const {
    auto model = std::make_unique<Model>();
    model->PlotXMin = xMin;
    model->PlotXMax = xMax;
    model->PlotYMin = yMin;
    model->PlotYMax = yMax;
    model->ShowGrid = showGrid;
    model->CurveCount = curveCount;
    model->LineStyles = styles;
    // From the last point back, so that each column is sized once, by its first write.
    const int curves = std::min(curveCount, model->CurrentY.Columns() - 1);
    const int64_t points = last >= first ? int64_t{last} - first + 1 : 0;
    for (int j = high; j >= low; --j)
      model->PotentialX(j) = x[static_cast<size_t>(j - low)];
    for (int k = 1; k <= curves; ++k) {
      for (int j = high; j >= low; --j)
        model->CurrentY(j, k) = y[static_cast<size_t>((k - 1) * points + (j - first))];
    }
    return model;
  }

  double xMin, xMax, yMin, yMax;
  bool showGrid;
  int curveCount;
  Table1<int> styles;
  int first, last;
  int low, high;  // the points of x copied
  std::vector<double> x, y;
};

// Lays the plot out now and leaves the picture to the surface, to paint when it is used: the
// painting repeats the whole plot on the copy of its inputs, which lays out as this plot did.
Outcome LayOutNowPaintWhenUsed(PlotContext& context, int first, int last,
                               const GrowingTable1<double>& x, const GrowingTable2<double>& y,
                               const Table1<int>& styles) {
  CurvePlot plot(context, first, last, x, y, styles);
  auto inputs =
      std::make_shared<const PictureInputs>(context.model, first, last, x, styles, plot.Snapshot());
  if (Outcome layout = plot.LayOut()) return layout;
  PlotOptions options = context.options;
  context.surface.Paint([inputs, options, first, last](DrawingSurface& surface) {
    std::unique_ptr<Model> model = inputs->MakeModel();
    PlotContext own{*model, options, surface};
    try {
      CurvePlot(own, first, last, model->PotentialX, model->CurrentY, model->LineStyles).Draw();
    } catch (const RuntimeError&) {
      // As below: what is drawn stays.
    }
  });
  return std::nullopt;
}

}  // namespace

Outcome PlotCurves(PlotContext& context, int first, int last,
                   const GrowingTable1<double>& potentials, const GrowingTable2<double>& y,
                   const Table1<int>& styles) {
  // A potential program or an AC voltammogram drawn against time takes the times of its points.
  const Technique technique = context.model.Technique;
  const bool programTime = context.options.timeAxis && (technique == Technique::kPotentialProgram ||
                                                        technique == Technique::kAcVoltammetry);
  const GrowingTable1<double>& x = programTime ? context.model.PointTimes : potentials;
  try {
    if (context.surface.PaintsWhenUsed())
      return LayOutNowPaintWhenUsed(context, first, last, x, y, styles);
    return CurvePlot(context, first, last, x, y, styles).Draw();
  } catch (const RuntimeError&) {
    // The plot ends quietly where the error arose: what is drawn stays, and so do the ranges
    // already written into the model.
  }
  return std::nullopt;
}

}  // namespace qalto
