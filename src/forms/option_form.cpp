#include "forms/option_form.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "plot/ac_plot.h"
#include "plot/plotter.h"
#include "simulation/simulation_driver.h"

namespace qalto {

FormOption::FormOption(Model& model) : Form("formOption", "Option"), model_(model) {
  Add(CheckGrid).SetCaption("Grid");
  CheckGrid.InitChecked(false);

  for (int i = 0; i < kStyledCurves; ++i) {
    Frame& frame = Add(Frame1.Add("Frame1", i));
    frame.SetCaption("Curve " + std::to_string(i + 1));
    const std::string container = frame.FullName();
    Add(Linestyle.Add("Linestyle", i), container).SetCaption("Line style");
    OptionButton& dots = Add(linestyle1.Add("linestyle1", i), container);
    OptionButton& squares = Add(linestyle2.Add("linestyle2", i), container);
    OptionButton& line = Add(linestyle3.Add("linestyle3", i), container);
    dots.SetCaption("...........");
    squares.SetCaption("oooooo");
    line.SetCaption("______");
    styleGroups_[i].Add(dots);
    styleGroups_[i].Add(squares);
    styleGroups_[i].Add(line);
    dots.InitSelected(true);
  }

  Add(overlap).SetCaption("Overlap");
  overlap.SetToolTip("overlap plot");
  overlap.InitChecked(false);

  Add(axis).SetCaption("Axis");
  std::vector<std::string> quantities = {"current I", "surface concentration C", "charge Q"};
  for (int k = 0; k <= kAcHarmonics; ++k)
    quantities.push_back(HarmonicQuantity(k));
  quantities.push_back(kAllHarmonics);
  quantities.push_back(kPowerSpectrum);
  Add(ComboY, "axis").SetItems(quantities);
  Add(ComboX, "axis").SetItems({"potential E", "time t"});
  ComboX.SetListIndex(0);
  ComboX.SetToolTip("x axis of a potential program");
  Add(ComboSign, "axis").SetItems({"cathodic positive", "anodic positive (IUPAC)"});
  ComboSign.SetListIndex(0);
  ComboSign.onClick = [this] { ComboSign_Click(); };
  Add(CheckXdir, "axis").SetCaption("X direction: + -> -");
  CheckXdir.SetToolTip("+ to -, or - to +");
  CheckXdir.InitChecked(true);
  Add(Yauto, "axis").SetCaption("Y auto");
  Yauto.SetToolTip("auto scale of Y axis ");
  Yauto.InitChecked(true);
  Yauto.onClick = [this] { Yauto_Click(); };
  Add(Xauto, "axis").SetCaption("X auto");
  Xauto.SetToolTip("auto scale of X axis ");
  Xauto.InitChecked(true);
  Xauto.onClick = [this] { Xauto_Click(); };

  Add(Label5, "axis").SetCaption("Y max");
  Label5.SetToolTip("maxinum Y value");
  Add(YmaxText, "axis").SetText("1e-3");
  Add(Label4, "axis").SetCaption("Y min");
  Label4.SetToolTip("mininum Y value");
  Add(YminText, "axis").SetText("-1e-3");
  Add(Label3, "axis").SetCaption("X max");
  Label3.SetToolTip("maxinum X value");
  Add(XmaxText, "axis").SetText("0.3");
  Add(Label2, "axis").SetCaption("X min");
  Label2.SetToolTip("mininum X value");
  Add(XminText, "axis").SetText("-0.3");
  for (TextBox* box : {&YmaxText, &YminText, &XmaxText, &XminText})
    box->SetNumeric(true);

  Add(cmdOK).SetCaption("OK");
  cmdOK.onClick = [this] { cmdOK_Click(); };

  // Both ranges start automatic, so their fields start hidden, as a click on the check box
  // would leave them.
  Xauto_Click();
  Yauto_Click();
}

void FormOption::Connect(DrawingSurface& plotWindow, std::function<void()> refreshModel,
                         std::function<void(const std::string&)> onFailure,
                         std::function<bool()> currentCurveIsTheRun) {
  plotWindow_ = &plotWindow;
  refreshModel_ = std::move(refreshModel);
  onFailure_ = std::move(onFailure);
  currentCurveIsTheRun_ = std::move(currentCurveIsTheRun);
}

void FormOption::OK() {
  model_.ShowGrid = CheckGrid.Checked();
  model_.OverlapPlot = overlap.Checked();
  if (!Xauto.Checked()) {
    model_.PlotXMin = ReadNumber(XminText.Text());
    model_.PlotXMax = ReadNumber(XmaxText.Text());
  }
  if (!Yauto.Checked()) {
    model_.PlotYMin = ReadNumber(YminText.Text());
    model_.PlotYMax = ReadNumber(YmaxText.Text());
  }
  for (int i = 0; i < kStyledCurves; ++i) {
    model_.LineStyles(i + 1) = linestyle1(i).Selected() ? 1 : linestyle2(i).Selected() ? 2 : 3;
  }
}

PlotOptions FormOption::PlotSettings() {
  // Time runs from left to right.
  const bool time = TimeAxis();
  PlotOptions settings{ComboY.Text(), CheckXdir.Checked() && !time, Xauto.Checked(),
                       Yauto.Checked()};
  settings.timeAxis = time;
  try {
    OK();
  } catch (const RuntimeError&) {
    settings.rangeOverflow = true;
  }
  return settings;
}

namespace {

// The points first..last of the store all stand at one potential: no potential axis to draw.
bool HoldsOnePotential(const Model& m) {
  const int first = std::max(m.FirstPoint, 1);
  const int last = std::min(m.LastPoint, m.PotentialX.Size() - 1);
  if (last < first) return false;
  for (int i = first + 1; i <= last; ++i)
    if (m.PotentialX(i) != m.PotentialX(first)) return false;
  return true;
}

}  // namespace

bool FormOption::TimeAxis() const {
  const Technique t = model_.Technique;
  if (t == Technique::kChronoamperometry) return true;
  if (t != Technique::kPotentialProgram && t != Technique::kAcVoltammetry) return false;
  // A program of holds and steps to one potential is drawn against its time.
  return ComboX.ListIndex() == 1 ||
         (t == Technique::kPotentialProgram && HoldsOnePotential(model_));
}

void FormOption::cmdOK_Click() {
  PlotOptions settings = PlotSettings();
  if (plotWindow_ != nullptr) {
    PlotContext context{model_, settings, *plotWindow_};
    const bool run = !currentCurveIsTheRun_ || currentCurveIsTheRun_();
    Outcome failed =
        run ? PrepareAndPlot(context, refreshModel_, model_.FirstPoint, model_.LastPoint,
                             model_.PotentialX, model_.CurrentY, model_.LineStyles)
            : PrepareMeasuredAndPlot(context, model_.FirstPoint, model_.LastPoint,
                                     model_.PotentialX, model_.CurrentY, model_.LineStyles);
    if (failed && onFailure_) onFailure_(failed->message);
  }
  Hide();
}

void FormOption::ComboSign_Click() {
  const bool anodic = ComboSign.ListIndex() == 1;
  if (anodic == model_.AnodicPositive) return;
  model_.AnodicPositive = anodic;
  TurnRunColumns(model_);  // the columns the curves are prepared from again, on OK
  for (int k = 1; k <= model_.CurveCount && k <= kMaxCurves; ++k) {
    for (int i = 1; i <= model_.NumberOfPoints; ++i)
      model_.CurrentY(i, k) = -model_.CurrentY(i, k);
    for (int j = 1; j <= kMaxPeaks; ++j)
      model_.PeakCurrent(j, k) = -model_.PeakCurrent(j, k);
  }
  // The turned curves are drawn as they are: preparing them would take the simulation's columns
  // again, which an imported curve does not have.
  if (plotWindow_ != nullptr && model_.NumberOfPoints > 0) {
    PlotOptions settings = PlotSettings();
    PlotContext context{model_, settings, *plotWindow_};
    Outcome failed = PlotCurves(context, model_.FirstPoint, model_.LastPoint, model_.PotentialX,
                                model_.CurrentY, model_.LineStyles);
    if (failed && onFailure_) onFailure_(failed->message);
  }
}

void FormOption::Xauto_Click() {
  bool typed = !Xauto.Checked();
  Label2.SetVisible(typed);
  XminText.SetVisible(typed);
  Label3.SetVisible(typed);
  XmaxText.SetVisible(typed);
}

void FormOption::Yauto_Click() {
  bool typed = !Yauto.Checked();
  Label4.SetVisible(typed);
  YminText.SetVisible(typed);
  Label5.SetVisible(typed);
  YmaxText.SetVisible(typed);
}

}  // namespace qalto
