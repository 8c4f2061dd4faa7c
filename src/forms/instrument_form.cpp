#include "forms/instrument_form.h"

#include <cmath>
#include <tuple>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/ignore_errors.h"
#include "common/number_format.h"
#include "common/number_text.h"
#include "common/plain_number.h"
#include "model/experiment_table.h"

namespace qalto {
namespace {

constexpr const char* kGeometryFormat = "0.##e-0";
constexpr double kScanCycles[] = {0.5, 1, 2, 3};  // single, cycle, 2 cycles, 3 cycles

}  // namespace

FormIns::FormIns(Model& model) : Form("FormIns", "Instrument"), model_(model) {
  const std::string frame = "FrameInstrument";
  FrameInstrument.SetCaption("Instrumental Parameters");
  Add(FrameInstrument);
  AddField(LabelExpanding, "Expanding grid", "Expanding grid factor", TextExpanding, "0.5", frame);
  AddField(LabelEstart, "E start (V)", "starting potential", Estart, "0.3", frame);
  AddField(LabelEend, "E end  (V)", "ending potential", Eend, "-0.3", frame);
  AddField(LabelEstep, "E step (V)", "potential step", Estep, "0.005", frame);
  AddField(LabelV, "v (V/s)", "scan rate", V, "0.01", frame);
  AddField(Labeltp, "t pulse (s)", "pulse time width", tp, "0.025", frame);
  AddField(Labeltd, "t drop  (s)", "drop time", td, "0.5", frame);
  AddField(LabelEpulse, "E pulse (V)", "pulse potential", Epulse, "-0.05", frame);
  AddField(Labeltemp, "T ( °C)", "temperature", txttemp, "25", frame);
  AddField(LabelNoise, "Noise (A)", "Noise current (A)", Noise, "0", frame);
  AddField(LabelF, "f (Hz)", "frequence", TextF, "20", frame);
  AddField(LabelAmplitude, "ΔE (mV)", "amplitude of the AC sine", TextAmplitude, "25", frame);
  LabelAmplitude.SetVisible(false);
  TextAmplitude.SetVisible(false);
  LabelAcBase.SetCaption("AC on");
  LabelAcBase.SetToolTip("what the sine rides on");
  LabelAcBase.SetGrid(fieldRow_, 0);
  Add(LabelAcBase, frame);
  ComboAcBase.SetItems({"sweep", "potential program"});
  ComboAcBase.SetListIndex(0);
  ComboAcBase.SetGrid(fieldRow_++, 1);
  ComboAcBase.onClick = [this] { ShowAcBase(); };
  Add(ComboAcBase, frame);
  LabelAcBase.SetVisible(false);
  ComboAcBase.SetVisible(false);
  LabelScan.SetCaption("Scan");
  LabelScan.SetGrid(fieldRow_, 0);
  Add(LabelScan, frame);
  ComboScan.SetItems({"single", "cycle", "2 cycles", "3 cycles"});
  ComboScan.SetGrid(fieldRow_++, 1);
  Add(ComboScan, frame);
  BuildAcFitFrame();
  AddField(LabelQuiet, "t quiet (s)", "quiet time at the start potential", TextQuiet, "0", frame);
  AddField(LabelEdc, "E dc (V)", "DC potential of the impedance", TextEdc, "0.1", frame);
  AddField(LabelFfrom, "f from (Hz)", "first frequency of the spectrum", TextFfrom, "100000",
           frame);
  AddField(LabelFto, "f to (Hz)", "last frequency of the spectrum", TextFto, "0.01", frame);
  AddField(LabelFdecade, "f points/decade", "frequencies a decade", TextFdecade, "5", frame);
  ShowImpedanceFields(false);
  AddField(LabelE1, "E1 (V)", "potential of the first step", TextE1, "-0.3", frame);
  AddField(LabelT1, "t1 (s)", "duration of the first step", TextT1, "1", frame);
  AddField(LabelE2, "E2 (V)", "potential of the second step", TextE2, "0.3", frame);
  AddField(LabelT2, "t2 (s)", "duration of the second step (0: a single step)", TextT2, "0", frame);
  AddField(LabelTSample, "t sample (s)", "sampling interval of the steps", TextTSample, "0.01",
           frame);
  ShowStepFields(false);

  BuildElectrodeFrame();
  BuildBaselineFrame();

  CheckPreCon.SetCaption("Preconcentration");
  CheckPreCon.onClick = [this] { CheckPreCon_Click(); };
  Add(CheckPreCon);
  fieldRow_ = 0;
  FramePre.SetCaption("Preconcentration");
  FramePre.SetVisible(false);
  Add(FramePre);
  AddField(LabelEPre, "E pre (V)", "preconcentration potential", txtEPre, "-0.3", "FramePre");
  AddField(LabelTPre, "t pre (s)", "preconcentration time", txtTPre, "600", "FramePre");
  AddField(LabelRStir, "R stir  (rpm)", "stirring rate", txtRStir, "100", "FramePre");
  AddField(LabelTpreconst, "t pre const (/s)", "preconcentration time constant", txtTpreconst,
           "1e-3", "FramePre");

  cmdOK.SetCaption("OK");
  cmdOK.onClick = [this] { cmdOK_Click(); };
  Add(cmdOK);

  radius.onChange = [this] { radius_Change(); };
  leng.onChange = [this] { leng_Change(); };
  ARE.onChange = [this] { ARE_Change(); };
  V.onChange = [this] { V_Change(); };
  Estep.onChange = [this] { Estep_Change(); };
  TextF.onChange = [this] { TextF_Change(); };
}

void FormIns::BuildAcFitFrame() {
  FrameAcFit.SetCaption("Fit AC on");
  FrameAcFit.SetToolTip("the envelopes a fit compares; none: the raw current");
  Add(FrameAcFit, "FrameInstrument");
  for (int k = 0; k <= kAcHarmonics; ++k) {
    CheckBox& box = CheckHarmonic.Add("CheckHarmonic", k);
    box.SetCaption(k == 0 ? "DC" : "harmonic " + std::to_string(k));
    box.InitChecked(false);
    box.SetGrid(k / 3, k % 3);
    box.onClick = [this, k] { CheckHarmonic_Click(k); };
    Add(box, "FrameAcFit");
  }
  FrameAcFit.SetVisible(false);
}

void FormIns::CheckHarmonic_Click(int k) {
  const int bit = 1 << k;
  model_.AcFitHarmonics =
      CheckHarmonic(k).Checked() ? model_.AcFitHarmonics | bit : model_.AcFitHarmonics & ~bit;
}

void FormIns::AddField(Label& label, const char* caption, const char* toolTip, TextBox& box,
                       const char* text, const std::string& frame) {
  label.SetCaption(caption);
  label.SetToolTip(toolTip);
  label.SetGrid(fieldRow_, 0);
  Add(label, frame);
  labels_[&box] = &label;
  box.SetNumeric(true);
  box.SetText(text);
  box.SetGrid(fieldRow_++, 1);
  Add(box, frame);
}

void FormIns::BuildElectrodeFrame() {
  const std::string frame = "FrameElectrode";
  FrameElectrode.SetCaption("Electrode");
  Add(FrameElectrode);
  for (int i = 1; i <= kElectrodeCount; ++i) {
    OptionButton& option = optElectrode.Add("optElectrode", i);
    option.SetCaption(NumberedCaption(i, RowOf(ElectrodeNumbered(i)).caption));
    option.SetGrid(i - 1, 0);
    option.onClick = [this, i] { optElectrode_Click(i); };
    electrodes_.Add(option);
    Add(option, frame);
  }
  optElectrode(1).InitSelected(true);
  fieldRow_ = kElectrodeCount;
  AddField(LabelArea, "Area (cm ²)", "electrode area", ARE, "1", frame);
  AddField(LabelRadius, "Radius (cm)", "electrode radius", radius, "0.2821", frame);
  AddField(LabelLength, "Length (cm)", "electrode length or film thickness", leng, "0.01", frame);
  AddField(LabelRrate, "Rotation (rpm)", "electrode rotation rate", TextRrate, "100", frame);
  ShowGeometryFields();  // the planar electrode of the start needs none of them
}

// Ru, Cd(E) = Cd0 + Cd1 E + Cd2 E^2 and the baseline offset + slope E, each with its fitted box
// and bounds beside it.
void FormIns::BuildBaselineFrame() {
  const std::string frame = "FrameBaseline";
  fieldRow_ = 0;
  FrameBaseline.SetCaption("Baseline");
  Add(FrameBaseline);
  AddField(LabelRu, "R u", "resistance", txtRu, "0", frame);
  LabelOhm.SetCaption("Ω");
  LabelOhm.SetGrid(fieldRow_ - 1, 2);
  Add(LabelOhm, frame);
  AddField(LabelCdl, "C d (F)", "double layer capacitor", Cdl, "0", frame);
  AddField(LabelCd1, "C d1 (F/V)", "change of the capacitor with E", TextCd1, "0", frame);
  AddField(LabelCd2, "C d2 (F/V²)", "curvature of the capacitor with E", TextCd2, "0", frame);
  AddField(LabelI0, "I start (A)", "start current", TxtI0, "0", frame);
  AddField(LabelI1, "I end (A)", "end current", TxtI1, "0", frame);
  AddField(LabelOffset, "I offset (A)", "baseline current at 0 V", TextOffset, "0", frame);
  AddField(LabelSlope, "I slope (A/V)", "baseline change with E", TextSlope, "0", frame);
  AddFitted(kFittedRu, txtRu, "0.1", "1e6");
  AddFitted(kFittedCd0, Cdl, "1e-10", "1e-2");
  AddFitted(kFittedCd1, TextCd1, "-1e-2", "1e-2");
  AddFitted(kFittedCd2, TextCd2, "-1e-2", "1e-2");
  AddFitted(kFittedOffset, TextOffset, "-1e-2", "1e-2");
  AddFitted(kFittedSlope, TextSlope, "-1", "1");
}

void FormIns::AddFitted(int code, const TextBox& beside, const char* minimum, const char* maximum) {
  const std::string frame = "FrameBaseline";
  CheckBox& box = CheckFitted.Add("CheckFitted", code);
  box.InitChecked(false);
  box.SetGrid(beside.GridRow(), 3);
  box.onClick = [this, code] { CheckFitted_Click(code); };
  Add(box, frame);
  int column = 4;
  for (auto* family : {&TextFitMin, &TextFitMax}) {
    TextBox& bound = family->Add(family == &TextFitMin ? "TextFitMin" : "TextFitMax", code);
    bound.SetNumeric(true);
    bound.SetText(family == &TextFitMin ? minimum : maximum);
    bound.SetGrid(beside.GridRow(), column++);
    bound.SetVisible(false);
    Add(bound, frame);
  }
}

void FormIns::CheckFitted_Click(int index) {
  bool shown = CheckFitted(index).Checked();
  TextFitMin(index).SetVisible(shown);
  TextFitMax(index).SetVisible(shown);
}

FitChoices FormIns::ChosenFitParameters() const {
  FitChoices choices;
  for (int code : CellParameterCodes()) {
    if (!CheckFitted(code).Checked()) continue;
    choices.push_back(
        {code, ReadNumber(TextFitMin(code).Text()), ReadNumber(TextFitMax(code).Text())});
  }
  return choices;
}

void FormIns::ShowFittedValue(int code, double value) {
  CheckFitted(code).SetCaption(FormatNumber(value, "0.###e-#"));
}

void FormIns::OK() {
  if (applyMechanism) applyMechanism();
  method1();
}

void FormIns::method1() {
  model_.StartPotential = Value(Estart);
  model_.EndPotential = Value(Eend);
  model_.PotentialStep = Value(Estep);
  model_.ElectrodeArea = AreaValue();
  model_.DoubleLayerCapacitance = Value(Cdl);
  model_.UncompensatedResistance = Value(txtRu);
  model_.CapacitanceSlope = Value(TextCd1);
  model_.CapacitanceCurvature = Value(TextCd2);
  model_.BaselineOffset = Value(TextOffset);
  model_.BaselineSlope = Value(TextSlope);
  model_.QuietTime = Value(TextQuiet);
  model_.DcPotential = Value(TextEdc);
  model_.FrequencyFrom = Value(TextFfrom);
  model_.FrequencyTo = Value(TextFto);
  model_.PointsPerDecade = Value(TextFdecade);
  model_.StepPotential1 = Value(TextE1);
  model_.StepTime1 = Value(TextT1);
  model_.StepPotential2 = Value(TextE2);
  model_.StepTime2 = Value(TextT2);
  model_.SampleTime = Value(TextTSample);
  model_.AcAmplitude = Value(TextAmplitude) / 1000;
  model_.AcFrequency = Value(TextF);
  model_.AcOnProgram = ComboAcBase.ListIndex() == 1;
  if (applyProgram) applyProgram();
  model_.Temperature = Value(txttemp) + kKelvinOffset;
  model_.PulsePotential = Value(Epulse);
  model_.NoiseLevel = Value(Noise);
  model_.DropTime = Value(td);
  model_.PulseTime = Value(tp);
  model_.ScanRate = Value(V);
  model_.ElectrodeLength = Value(leng);
  model_.Radius = RadiusValue();
  if (model_.Electrode == Electrode::kMicrodisc) {
    // Radius of the hemisphere with the same steady-state current as the disc.
    model_.Radius = 2 * RadiusValue() / kPi;
    model_.ElectrodeArea = kTwoPi * model_.Radius * model_.Radius;
  } else if (model_.Electrode == Electrode::kBand) {
    model_.Radius = RadiusValue() / 2;
    model_.ElectrodeArea = kPi * model_.Radius * Value(leng);
  }
  model_.RotationRate = Value(TextRrate) * kPi / 30;
  int scan = ComboScan.ListIndex();
  if (scan >= 0) model_.ScanCycles = kScanCycles[scan];
  // The apply step is no change of the user's: an overflow was told when the box changed.
  applying_ = true;
  radius_Change();
  applying_ = false;
}

void FormIns::cmdOK_Click() {
  OK();
  Hide();
}

void FormIns::Form_Activate() {
  if (applyMechanism) applyMechanism();
  using T = Technique;
  const T technique = model_.Technique;
  bool pulse = RowOf(technique).pulseSampled;
  bool squareWave = technique == T::kSquareWave || technique == T::kAdditiveSquareWave;
  const bool steps = technique == T::kChronoamperometry;
  const bool program = technique == T::kPotentialProgram;  // its own window holds its potentials
  for (Control* c : {static_cast<Control*>(&LabelV), static_cast<Control*>(&V)}) {
    c->SetVisible(!squareWave && !steps && !program);
  }
  ShowStepFields(steps);
  LabelTSample.SetVisible(steps || program);
  TextTSample.SetVisible(steps || program);
  const bool sine = technique == T::kAcVoltammetry;
  LabelF.SetVisible(squareWave || sine);
  TextF.SetVisible(squareWave || sine);
  LabelAmplitude.SetVisible(sine);
  TextAmplitude.SetVisible(sine);
  LabelAcBase.SetVisible(sine);
  ComboAcBase.SetVisible(sine);
  FrameAcFit.SetVisible(sine);
  for (int k = 0; k <= kAcHarmonics; ++k)
    CheckHarmonic(k).InitChecked((model_.AcFitHarmonics & (1 << k)) != 0);
  Labeltp.SetVisible(pulse);
  tp.SetVisible(pulse);
  tp.SetLocked(squareWave);
  LabelEpulse.SetVisible(pulse);
  Epulse.SetVisible(pulse);
  const bool impedance = technique == T::kImpedance;
  ShowImpedanceFields(impedance);
  EnablePotentialBoxes(RowOf(technique).potentials);
  ShowAcBase();
  // The experiment table says what each engine computes.
  for (int i = 1; i <= kElectrodeCount; ++i) {
    const Electrode e = ElectrodeNumbered(i);
    const bool enabled = model_.DigitalSimulation
                             ? DigitallyComputed({technique, e})
                             : AnalyticalReachOf({technique, e}) != AnalyticalReach::kNone;
    optElectrode(i).SetEnabled(enabled);
  }
}

// The boxes a technique does not read keep their text but cannot be typed into.
void FormIns::EnablePotentialBoxes(PotentialBoxes boxes) {
  using P = PotentialBoxes;
  const bool start = boxes != P::kNone;
  const bool end = boxes == P::kRange || boxes == P::kEnds;
  const bool step = boxes == P::kRange;
  for (auto [label, box, enabled] :
       {std::tuple{&LabelEstart, &Estart, start}, std::tuple{&LabelEend, &Eend, end},
        std::tuple{&LabelEstep, &Estep, step}}) {
    label->SetEnabled(enabled);
    box->SetEnabled(enabled);
  }
}

// The box the user typed into is the source: its partner (area from radius and length, or
// radius from area) is computed from the typed value and written in the geometry format, and
// the partner's own change handler then leaves the source alone. The electrode volume follows.
void FormIns::radius_Change() {
  IgnoringErrors([&] { model_.ElectrodeLength = Value(leng); });
  if (!writingPartner_) UpdateGeometryPartner();
  IgnoringErrors([&] { SetElectrodeVolume(); });
}

void FormIns::ARE_Change() {
  if (writingPartner_) return;
  ComputePartner(radius, ARE, [&] { SetRadiusFromArea(); });
}

// The radius showing what the program wrote means the area was typed, and the radius follows
// it (for a new length or electrode too); else the area follows the radius.
void FormIns::UpdateGeometryPartner() {
  if (ShowsWritten(radius, writtenRadius_)) {
    ComputePartner(radius, ARE, [&] { SetRadiusFromArea(); });
  } else {
    ComputePartner(ARE, radius, [&] { SetAreaFromGeometry(); });
  }
}

// Other failures (a zero length) leave the partner as it was without a word, as while typing.
template <typename Computation>
void FormIns::ComputePartner(const TextBox& partner, const TextBox& source,
                             Computation&& computation) {
  try {
    computation();
  } catch (const RuntimeError& error) {
    if (error.Description().rfind("Overflow", 0) != 0 || !showMessage || applying_) return;
    showMessage("Run-time error: Overflow: " + CaptionOf(partner) + " from " + CaptionOf(source) +
                " " + ShownText(source.Text()) + " is beyond the number range; it keeps " +
                ShownText(partner.Text()));
  }
}

double FormIns::Value(const TextBox& box) const {
  return ReadBoxNumberCaptioned(box.Text(), [&] { return CaptionOf(box); });
}

std::string FormIns::CaptionOf(const TextBox& box) const {
  auto label = labels_.find(&box);
  return label == labels_.end() ? box.FullName() : label->second->Caption();
}

bool FormIns::ShowsWritten(const TextBox& box, const WrittenNumber& written) {
  return !written.text.empty() && box.Text() == written.text;
}

double FormIns::BoxValue(const TextBox& box, const WrittenNumber& written) const {
  return ShowsWritten(box, written) ? written.value : Value(box);
}

double FormIns::AreaValue() const {
  return BoxValue(ARE, writtenArea_);
}

double FormIns::RadiusValue() const {
  return BoxValue(radius, writtenRadius_);
}

// A value without digits (an infinity from 1e200 squared) raises in the formatter: the partner
// keeps what it showed, and its value is the infinite one, so that a run from it overflows.
void FormIns::WritePartner(TextBox& box, WrittenNumber& written, double value) {
  if (!std::isfinite(value)) {
    written = {box.Text(), value};
    throw RuntimeError::Overflow();
  }
  std::string text = FormatNumber(value, kGeometryFormat);
  written = {text, value};
  writingPartner_ = true;
  box.SetText(text);
  writingPartner_ = false;
}

void FormIns::SetAreaFromGeometry() {
  double r = RadiusValue();
  double length = Value(leng);
  using E = Electrode;
  switch (model_.Electrode) {
    case E::kSpherical:
      WritePartner(ARE, writtenArea_, 4 * kPi * r * r);
      break;
    case E::kHemispherical:
    case E::kRotatingHemisphere:
      WritePartner(ARE, writtenArea_, kTwoPi * r * r);
      break;
    case E::kMicrodisc:
    case E::kRotatingDisk:
      WritePartner(ARE, writtenArea_, kPi * r * r);
      break;
    case E::kCylindrical:
    case E::kRotatingCylinder:
      WritePartner(ARE, writtenArea_, kTwoPi * r * length);
      break;
    case E::kBand:
      WritePartner(ARE, writtenArea_, 2 * r * length);
      break;
    default:  // planar and thin film: the area is typed
      break;
  }
}

// ElectrodeVolume, cm3: from the radius of the last apply step for the sphere, hemisphere and
// cylinder, else the area box times the length.
void FormIns::SetElectrodeVolume() {
  double radiusCubed = model_.Radius * model_.Radius * model_.Radius;
  using E = Electrode;
  switch (model_.Electrode) {
    case E::kSpherical:
      model_.ElectrodeVolume = 4 * kPi * radiusCubed / 3;
      break;
    case E::kHemispherical:
    case E::kRotatingHemisphere:
      model_.ElectrodeVolume = kTwoPi * radiusCubed / 3;
      break;
    case E::kCylindrical:
    case E::kRotatingCylinder:
      model_.ElectrodeVolume = kPi * model_.Radius * model_.Radius * model_.ElectrodeLength;
      break;
    default:
      model_.ElectrodeVolume = AreaValue() * model_.ElectrodeLength;
      break;
  }
}

void FormIns::SetRadiusFromArea() {
  double area = AreaValue();
  double length = Value(leng);
  using E = Electrode;
  switch (model_.Electrode) {
    case E::kSpherical:
      WritePartner(radius, writtenRadius_, Sqrt(Div(area, 4 * kPi)));
      break;
    case E::kHemispherical:
    case E::kRotatingHemisphere:
      WritePartner(radius, writtenRadius_, Sqrt(Div(area, kTwoPi)));
      break;
    case E::kMicrodisc:
    case E::kRotatingDisk:
      WritePartner(radius, writtenRadius_, Sqrt(Div(area, kPi)));
      break;
    case E::kCylindrical:
    case E::kRotatingCylinder:
      WritePartner(radius, writtenRadius_, Div(area, kTwoPi * length));
      break;
    case E::kBand:
      WritePartner(radius, writtenRadius_, Div(area, 2 * length));
      break;
    default:  // planar and thin film: no radius
      break;
  }
}

// The drop time box offers the drop that E step and v make, t = E step / v, as they are typed;
// a sweep takes its time step from E step and v themselves (PointTime), not from this box.
void FormIns::V_Change() {
  IgnoringErrors([&] { td.SetText(NumberText(Div(Value(Estep), Value(V)))); });
}

void FormIns::TextF_Change() {
  IgnoringErrors([&] { tp.SetText(NumberText(Div(0.5, Value(TextF)))); });
}

void FormIns::ShowImpedanceFields(bool shown) {
  for (Control* c :
       std::initializer_list<Control*>{&LabelEdc, &TextEdc, &LabelFfrom, &TextFfrom, &LabelFto,
                                       &TextFto, &LabelFdecade, &TextFdecade})
    c->SetVisible(shown);
}

void FormIns::ShowGeometryFields() {
  const ElectrodeRow& row = RowOf(model_.Electrode);
  bool length = row.length;
  bool radiusShown = row.radius;
  bool rotation = row.rotation != RotatingGeometry::kNone;
  LabelLength.SetVisible(length);
  leng.SetVisible(length);
  LabelRadius.SetVisible(radiusShown);
  radius.SetVisible(radiusShown);
  LabelRrate.SetVisible(rotation);
  TextRrate.SetVisible(rotation);
}

void FormIns::ShowStepFields(bool shown) {
  for (Control* c :
       std::initializer_list<Control*>{&LabelE1, &TextE1, &LabelT1, &TextT1, &LabelE2, &TextE2,
                                       &LabelT2, &TextT2, &LabelTSample, &TextTSample})
    c->SetVisible(shown);
}

void FormIns::ShowAcBase() {
  if (model_.Technique != Technique::kAcVoltammetry) return;
  const bool sweep = ComboAcBase.ListIndex() != 1;
  LabelV.SetVisible(sweep);
  V.SetVisible(sweep);
  EnablePotentialBoxes(sweep ? PotentialBoxes::kEnds : PotentialBoxes::kRest);
}

void FormIns::optElectrode_Click(int index) {
  model_.Electrode = ElectrodeNumbered(index);
  ShowGeometryFields();
  const bool band = model_.Electrode == Electrode::kBand;
  LabelRadius.SetCaption(band ? "Half Width (cm)" : "Radius (cm)");
  LabelLength.SetCaption(band ? "Thick (cm)" : "Length (cm)");
  radius_Change();
}

void FormIns::CheckPreCon_Click() {
  FramePre.SetVisible(!FramePre.Visible());
  if (refreshModel) refreshModel();
}

}  // namespace qalto
