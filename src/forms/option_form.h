#pragma once
// The display options form `formOption` ("Option"): which quantity the y axis shows, the
// direction of the x axis, automatic or typed ranges, the grid, the line style of curves 1 to 5
// and whether new curves overlap the earlier ones. The form lives for the whole run and closing
// it only hides it, so its controls are the persistent display settings; `OK` copies them into
// the model, and the plotter runs `OK` itself before every plot.

#include <array>
#include <functional>

#include "drawing/drawing_surface.h"
#include "model/model.h"
#include "plot/plot_options.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qalto {

inline constexpr int kStyledCurves = 5;  // curves 1..5 have a line style on this form

class FormOption : public Form {
 public:
  explicit FormOption(Model& model);

  CheckBox CheckGrid{"CheckGrid"};
  ControlArray<Frame> Frame1;             // (0..4): "Curve 1" .. "Curve 5"
  ControlArray<Label> Linestyle;          // (0..4)
  ControlArray<OptionButton> linestyle1;  // (0..4): dots
  ControlArray<OptionButton> linestyle2;  // (0..4): small squares
  ControlArray<OptionButton> linestyle3;  // (0..4): connected line
  CheckBox overlap{"overlap"};
  Frame axis{"axis"};
  ComboBox ComboY{"ComboY"};  // nothing chosen until the main window chooses "current I" at start
  // What the x axis of a potential program shows: "potential E" or "time t".
  ComboBox ComboX{"ComboX"};
  // The x axis shows time: always for potential steps, by ComboX for a potential program (and
  // for one that stands at one potential throughout, which has no potential axis).
  bool TimeAxis() const;
  // The sign convention of every current: "cathodic positive" or "anodic positive (IUPAC)".
  ComboBox ComboSign{"ComboSign"};
  CheckBox CheckXdir{"CheckXdir"};
  CheckBox Yauto{"Yauto"};
  CheckBox Xauto{"Xauto"};
  TextBox YmaxText{"YmaxText"};
  TextBox YminText{"YminText"};
  TextBox XmaxText{"XmaxText"};
  TextBox XminText{"XminText"};
  Label Label5{"Label5"};
  Label Label4{"Label4"};
  Label Label3{"Label3"};
  Label Label2{"Label2"};
  Button cmdOK{"cmdOK"};

  // Copies grid, overlap, the typed ranges (where automatic scaling is off) and the line styles
  // into the model. Raises "Overflow" for a typed number too large for a double.
  void OK();
  // OK, then the settings the plotter reads; a typed number too large for a double marks them,
  // and the plot then ends before it draws.
  PlotOptions PlotSettings();
  // OK, then prepares and draws the curves on the connected plot window, then hides the form.
  void cmdOK_Click();
  void Xauto_Click();
  void Yauto_Click();
  // A new convention turns every stored curve and the peaks found on them, and redraws.
  void ComboSign_Click();
  // Form_Unload: closing the window only hides it.
  CloseBehaviour OnClose() const override { return CloseBehaviour::kHide; }

  // The plot window and the model refresh that cmdOK_Click draws with, where the plot's failure
  // goes, and whether the current curve is the last run's, which the y choice prepares again
  // from the run (a measured curve is drawn as it is); the application connects them once.
  // Without them cmdOK_Click only applies and hides.
  void Connect(DrawingSurface& plotWindow, std::function<void()> refreshModel,
               std::function<void(const std::string&)> onFailure,
               std::function<bool()> currentCurveIsTheRun);

 private:
  Model& model_;
  std::array<OptionGroup, kStyledCurves> styleGroups_;
  DrawingSurface* plotWindow_ = nullptr;
  std::function<void()> refreshModel_;
  std::function<void(const std::string&)> onFailure_;
  std::function<bool()> currentCurveIsTheRun_;
};

}  // namespace qalto
