#pragma once
// The Instrument window: electrode type and geometry, the potential program and timing of the
// technique, temperature, noise, scan cycles, ohmic and capacitive parameters with a linear
// baseline, and the preconcentration conditions. Change handlers keep the area and radius, the
// drop time and the pulse time consistent while the user types.

#include <functional>
#include <map>
#include <string>

#include "fit/fit_parameters.h"
#include "model/experiment_table.h"
#include "model/model.h"
#include "ui/form.h"

namespace qalto {

class FormIns : public Form {
 public:
  explicit FormIns(Model& model);

  // The Mechanism window's OK, then the apply step.
  void OK();
  // Copies the fields into the model (the apply step).
  void method1();
  void cmdOK_Click();
  void Activate() override { Form_Activate(); }
  void Form_Activate();
  void radius_Change();
  void ARE_Change();
  void leng_Change() { radius_Change(); }
  void V_Change();
  void Estep_Change() { V_Change(); }
  void TextF_Change();
  // The values of the area (cm2) and radius (cm) boxes: the typed number, or, where the
  // program wrote the box from its partner, the full-precision value behind the shown text.
  double AreaValue() const;
  double RadiusValue() const;
  void optElectrode_Click(int index);
  void CheckPreCon_Click();
  // The caption of the label beside a box ("Radius (cm)"), the box's name where it has none.
  std::string CaptionOf(const TextBox& box) const;
  void CheckFitted_Click(int index);

  // The cell parameters (91 Ru .. 96 baseline slope) whose fitted box is checked, with the
  // numbers of their min and max boxes.
  FitChoices ChosenFitParameters() const;
  // The fitted value beside its box, as the Chemicals window shows its own.
  void ShowFittedValue(int code, double value);

  // The Mechanism window's OK; the Potential program window's program into the model; the model
  // refresh.
  std::function<void()> applyMechanism;
  std::function<void()> applyProgram;
  std::function<void()> refreshModel;
  // Shows a message box (an area or radius without digits to show).
  std::function<void(const std::string&)> showMessage;

  Frame FrameInstrument{"FrameInstrument"};
  Label LabelExpanding{"LabelExpanding"};
  TextBox TextExpanding{"TextExpanding"};
  Label LabelEstart{"LabelEstart"};
  TextBox Estart{"Estart"};
  Label LabelEend{"LabelEend"};
  TextBox Eend{"Eend"};
  Label LabelEstep{"LabelEstep"};
  TextBox Estep{"Estep"};
  Label LabelV{"LabelV"};
  TextBox V{"V"};
  Label Labeltp{"Labeltp"};
  TextBox tp{"tp"};
  Label Labeltd{"Labeltd"};
  TextBox td{"td"};
  Label LabelEpulse{"LabelEpulse"};
  TextBox Epulse{"Epulse"};
  Label Labeltemp{"Labeltemp"};
  TextBox txttemp{"txttemp"};
  Label LabelNoise{"LabelNoise"};
  TextBox Noise{"Noise"};
  Label LabelF{"LabelF"};
  TextBox TextF{"TextF"};  // the square wave's frequency, and the AC voltammogram's sine's
  Label LabelAmplitude{"LabelAmplitude"};
  TextBox TextAmplitude{"TextAmplitude"};  // AC voltammetry: the sine's amplitude, mV
  // AC voltammetry: what the sine rides on, "sweep" (E start, E end, v) or "potential program"
  // (the Potential program window's, from rest at E start).
  Label LabelAcBase{"LabelAcBase"};
  ComboBox ComboAcBase{"ComboAcBase"};
  Label LabelScan{"LabelScan"};
  ComboBox ComboScan{"ComboScan"};
  Label LabelQuiet{"LabelQuiet"};
  TextBox TextQuiet{"TextQuiet"};
  // Impedance: the DC potential and the frequencies (shown for technique 10 only).
  Label LabelEdc{"LabelEdc"};
  TextBox TextEdc{"TextEdc"};
  Label LabelFfrom{"LabelFfrom"};
  TextBox TextFfrom{"TextFfrom"};
  Label LabelFto{"LabelFto"};
  TextBox TextFto{"TextFto"};
  Label LabelFdecade{"LabelFdecade"};
  TextBox TextFdecade{"TextFdecade"};
  // Chronoamperometry: E1 for t1, then E2 for t2 (0: a single step), sampled every t sample.
  Label LabelE1{"LabelE1"};
  TextBox TextE1{"TextE1"};
  Label LabelT1{"LabelT1"};
  TextBox TextT1{"TextT1"};
  Label LabelE2{"LabelE2"};
  TextBox TextE2{"TextE2"};
  Label LabelT2{"LabelT2"};
  TextBox TextT2{"TextT2"};
  Label LabelTSample{"LabelTSample"};
  TextBox TextTSample{"TextTSample"};

  // AC voltammetry: what a fit compares, bound to the model's AcFitHarmonics (CheckHarmonic(k)
  // its bit k): the DC component (0) and the envelopes of harmonics 1..8; none checked, the raw
  // current.
  Frame FrameAcFit{"FrameAcFit"};
  ControlArray<CheckBox> CheckHarmonic;
  void CheckHarmonic_Click(int k);

  Frame FrameElectrode{"FrameElectrode"};
  ControlArray<OptionButton> optElectrode;
  Label LabelArea{"LabelArea"};
  TextBox ARE{"ARE"};
  Label LabelRadius{"LabelRadius"};
  TextBox radius{"radius"};
  Label LabelLength{"LabelLength"};
  TextBox leng{"leng"};
  Label LabelRrate{"LabelRrate"};
  TextBox TextRrate{"TextRrate"};

  Frame FrameBaseline{"FrameBaseline"};
  Label LabelRu{"LabelRu"};
  TextBox txtRu{"txtRu"};
  Label LabelOhm{"LabelOhm"};
  Label LabelCdl{"LabelCdl"};
  TextBox Cdl{"Cdl"};
  Label LabelCd1{"LabelCd1"};
  TextBox TextCd1{"TextCd1"};
  Label LabelCd2{"LabelCd2"};
  TextBox TextCd2{"TextCd2"};
  Label LabelI0{"LabelI0"};
  TextBox TxtI0{"TxtI0"};
  Label LabelI1{"LabelI1"};
  TextBox TxtI1{"TxtI1"};
  Label LabelOffset{"LabelOffset"};
  TextBox TextOffset{"TextOffset"};
  Label LabelSlope{"LabelSlope"};
  TextBox TextSlope{"TextSlope"};
  // Fitted boxes of the cell parameters, indexed by their codes 91..96, with their bounds.
  ControlArray<CheckBox> CheckFitted;
  ControlArray<TextBox> TextFitMin;
  ControlArray<TextBox> TextFitMax;

  CheckBox CheckPreCon{"CheckPreCon"};
  Frame FramePre{"FramePre"};
  Label LabelEPre{"LabelEPre"};
  TextBox txtEPre{"txtEPre"};
  Label LabelTPre{"LabelTPre"};
  TextBox txtTPre{"txtTPre"};
  Label LabelRStir{"LabelRStir"};
  TextBox txtRStir{"txtRStir"};
  Label LabelTpreconst{"LabelTpreconst"};
  TextBox txtTpreconst{"txtTpreconst"};

  Button cmdOK{"cmdOK"};

 private:
  void AddField(Label& label, const char* caption, const char* toolTip, TextBox& box,
                const char* text, const std::string& frame);
  void BuildElectrodeFrame();
  void BuildBaselineFrame();
  void BuildAcFitFrame();
  void AddFitted(int code, const TextBox& beside, const char* minimum, const char* maximum);
  void ShowGeometryFields();
  void ShowImpedanceFields(bool shown);
  void EnablePotentialBoxes(PotentialBoxes boxes);
  void ShowStepFields(bool shown);
  // The boxes AC voltammetry reads on the base chosen: v and E end only on the sweep (nothing
  // while another technique is chosen).
  void ShowAcBase();
  void SetRadiusFromArea();
  void SetAreaFromGeometry();
  void SetElectrodeVolume();
  void UpdateGeometryPartner();
  // Computes a partner; an overflow ends the change with its message and the partner keeps
  // what it showed.
  template <typename Computation>
  void ComputePartner(const TextBox& partner, const TextBox& source, Computation&& computation);
  // The number of a box; a failure to read it names the box.
  double Value(const TextBox& box) const;

  // A number the program wrote into a box, and the text it wrote for it.
  struct WrittenNumber {
    std::string text;
    double value = 0;
  };
  void WritePartner(TextBox& box, WrittenNumber& written, double value);
  static bool ShowsWritten(const TextBox& box, const WrittenNumber& written);
  double BoxValue(const TextBox& box, const WrittenNumber& written) const;

  Model& model_;
  OptionGroup electrodes_;
  int fieldRow_ = 0;
  bool writingPartner_ = false;  // the area or radius box is being written from its partner
  bool applying_ = false;        // the fields are being copied into the model
  WrittenNumber writtenArea_;
  WrittenNumber writtenRadius_;
  std::map<const TextBox*, const Label*> labels_;  // the label that names each box
};

}  // namespace qalto
