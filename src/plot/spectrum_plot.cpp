#include "plot/spectrum_plot.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

#include "common/constants.h"
#include "common/number_format.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void Take(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool Empty() const { return !(high >= low); }
};

// One curve of the store as a spectrum.
struct Spectrum {
  std::vector<double> logF, real, minusImag, logModulus, minusPhase;
  int style = 3;
};

std::vector<Spectrum> ReadSpectra(const Model& m) {
  const int n = m.SpectrumFrequencies;
  std::vector<Spectrum> spectra;
  for (int k = 1; k <= m.CurveCount && k <= kMaxCurves; ++k) {
    Spectrum s;
    s.style = m.LineStyles(k);
    for (int i = 1; i <= n; ++i) {
      const std::complex<double> z(m.CurrentY(i, k), m.CurrentY(n + i, k));
      s.logF.push_back(std::log10(m.PotentialX(i)));
      s.real.push_back(z.real());
      s.minusImag.push_back(-z.imag());
      s.logModulus.push_back(std::log10(std::abs(z)));
      s.minusPhase.push_back(-std::arg(z) * 180 / kPi);
    }
    spectra.push_back(std::move(s));
  }
  return spectra;
}

// 1, 2 or 5 times a power of ten, about a fifth of the span.
double TickStep(double span) {
  if (!(span > 0) || !std::isfinite(span)) return 1;
  const double rough = span / 5;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= rough) return m * power;
  return 10 * power;
}

std::string Label(double v, double step) {
  if (std::fabs(v) < 1e-9 * step) v = 0;
  const double big = std::max(std::fabs(v), step);
  if (big >= 1e5 || step < 0.01) return FormatNumber(v, "0.##e-0");
  return FormatNumber(v, std::fabs(v - std::round(v)) < 1e-9 * step ? "0" : "0.##");
}

// The whole ticks in a span, at most a hundred.
int Ticks(double span, double step) {
  const double count = std::floor(span / step + 1e-9);
  return count >= 0 && count <= 100 ? static_cast<int>(count) : 0;
}

// One framed panel: the data box x0..x1, y0..y1 drawn into the fractions left..right and
// top..bottom of the window (0 at the left and at the top).
class Panel {
 public:
  Panel(DrawingSurface& surface, double x0, double x1, double y0, double y1, double left,
        double right, double top, double bottom)
      : s_(surface), x0_(x0), x1_(x1), y0_(y0), y1_(y1) {
    const double w = (x1 - x0) / (right - left), h = (y1 - y0) / (bottom - top);
    s_.SetScale(x0 - left * w, y1 + top * h, x0 - left * w + w, y1 + top * h - h);
  }

  void Frame(const std::string& xTitle, const std::string& yTitle, double xStep, double yStep) {
    s_.DrawRectangle(x0_, y0_, x1_, y1_);
    const double dx = x1_ - x0_, dy = y1_ - y0_;
    for (int k = 0; k <= Ticks(dx, xStep); ++k) {
      const double x = x0_ + k * xStep;
      s_.DrawLine(x, y0_, x, y0_ + 0.02 * dy);
      s_.SetPosition(x - 0.03 * dx, y0_ - 0.02 * dy);
      s_.Print(Label(x, xStep));
    }
    for (int k = 0; k <= Ticks(dy, yStep); ++k) {
      const double y = y0_ + k * yStep;
      s_.DrawLine(x0_, y, x0_ + 0.02 * dx, y);
      s_.SetPosition(x0_ - 0.16 * dx, y + 0.03 * dy);
      s_.Print(Label(y, yStep));
    }
    s_.SetPosition(x0_ + 0.4 * dx, y0_ - 0.09 * dy);
    s_.Print(xTitle);
    s_.SetPosition(x0_, y1_ + 0.1 * dy);
    s_.Print(yTitle);
  }

  void Curve(const std::vector<double>& x, const std::vector<double>& y, int style) {
    const double w = 0.01 * (x1_ - x0_), h = 0.01 * (y1_ - y0_);
    bool penDown = false;
    for (size_t i = 0; i < x.size(); ++i) {
      if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
        penDown = false;
        continue;
      }
      if (style == 1) {
        s_.SetPoint(x[i], y[i]);
      } else if (style == 2) {
        s_.DrawRectangle(x[i] - w / 2, y[i] - h / 2, x[i] + w / 2, y[i] + h / 2);
      } else if (style == 3) {
        if (penDown)
          s_.DrawLineTo(x[i], y[i]);
        else
          s_.SetPoint(x[i], y[i]);
        penDown = true;
      }
    }
  }

 private:
  DrawingSurface& s_;
  double x0_, x1_, y0_, y1_;
};

// The range widened outward to whole ticks, never of zero width.
void Widen(Range& r, double step) {
  r.low = std::floor(r.low / step + 1e-9) * step;
  r.high = std::ceil(r.high / step - 1e-9) * step;
  if (r.high <= r.low) r.high = r.low + step;
}

Range RangeOf(const std::vector<Spectrum>& spectra, std::vector<double> Spectrum::*values) {
  Range r;
  for (const Spectrum& s : spectra)
    for (double v : s.*values)
      r.Take(v);
  return r;
}

// Equal ohm ranges on both axes, each holding zero: the plot is square in a 4:3 window such as
// the saved picture's, so that a semicircle looks round.
void DrawNyquist(DrawingSurface& surface, const std::vector<Spectrum>& spectra, Model& model) {
  Range x = RangeOf(spectra, &Spectrum::real), y = RangeOf(spectra, &Spectrum::minusImag);
  x.Take(0);
  y.Take(0);
  const double step = TickStep(std::max(x.high - x.low, y.high - y.low));
  Widen(x, step);
  Widen(y, step);
  const double span = std::max(x.high - x.low, y.high - y.low);
  Panel panel(surface, x.low, x.low + span, y.low, y.low + span, 0.08, 0.53, 0.15, 0.75);
  // the plot ranges of the model are the Nyquist frame's, for the window's interactive plot
  model.PlotXMin = x.low;
  model.PlotXMax = x.low + span;
  model.PlotYMin = y.low;
  model.PlotYMax = y.low + span;
  panel.Frame("Z' /Ohm", "-Z'' /Ohm", step, step);
  for (const Spectrum& s : spectra)
    panel.Curve(s.real, s.minusImag, s.style);
}

void DrawBode(DrawingSurface& surface, const std::vector<Spectrum>& spectra, double top,
              double bottom, std::vector<double> Spectrum::*values, const std::string& title,
              double minimumStep) {
  Range f = RangeOf(spectra, &Spectrum::logF), y = RangeOf(spectra, values);
  if (y.Empty()) return;  // no finite value: the panel stays empty
  Widen(f, 1);
  const double step = std::max(minimumStep, TickStep(y.high - y.low));
  Widen(y, step);
  Panel panel(surface, f.low, f.high, y.low, y.high, 0.64, 0.97, top, bottom);
  panel.Frame("log f /Hz", title, std::ceil((f.high - f.low) / 8), step);
  for (const Spectrum& s : spectra)
    panel.Curve(s.logF, s.*values, s.style);
}

}  // namespace

Outcome PlotSpectra(PlotContext& context) {
  std::vector<Spectrum> spectra;
  try {
    spectra = ReadSpectra(context.model);
  } catch (const RuntimeError&) {  // a store of fewer points than the spectrum says
    return Failure{"Error: No data!"};
  }
  if (RangeOf(spectra, &Spectrum::real).Empty() || RangeOf(spectra, &Spectrum::logF).Empty())
    return Failure{"Error: No data!"};
  DrawingSurface& surface = context.surface;
  surface.Show();
  surface.Clear();
  DrawNyquist(surface, spectra, context.model);
  DrawBode(surface, spectra, 0.08, 0.42, &Spectrum::logModulus, "log |Z| /Ohm", 0.1);
  DrawBode(surface, spectra, 0.58, 0.92, &Spectrum::minusPhase, "-phase /°", 5);
  return std::nullopt;
}

}  // namespace qalto
