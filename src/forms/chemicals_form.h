#pragma once
// The Chemicals window: the numeric chemistry of the experiment. Its text boxes and labels are
// the store of the values (the model refresh reads them by name); it shows the rows that the
// mechanism tables call for, keeps the "C init" column and the Keq labels up to date, and holds
// each parameter's "fitted" flag with its fitting range.

#include <functional>
#include <vector>

#include "chemistry/pre_equilibration.h"
#include "fit/fit_parameters.h"
#include "forms/mechanism_form.h"
#include "model/model.h"
#include "simulation/refresh_model.h"
#include "ui/form.h"

namespace qalto {

// The Instrument window's controls that the initial concentrations depend on.
struct InstrumentLinks {
  const TextBox* Estart = nullptr;
  const CheckBox* CheckPreCon = nullptr;
  const TextBox* txtEPre = nullptr;
  const TextBox* txtTPre = nullptr;
  const TextBox* txtRStir = nullptr;
  const TextBox* txtTpreconst = nullptr;
};

class FormExpr : public Form {
 public:
  FormExpr(Model& model, FormMech& mechanism);

  // Re-lays out and recomputes the window, then refreshes the model from it.
  void OK();
  void cmdOK_Click();
  void Activate() override { Form_Activate(); }
  void Form_Activate();
  void C_Change(int index);
  void Eze_Change(int index);
  void kf_Change(int index);
  void kb_Change(int index);
  void LabelKeq_Change(int index);
  void CheckPreEqu_Click();
  void CheckFitted_Click(int index);

  // The Instrument window's OK; the model refresh.
  std::function<void()> applyInstrument;
  std::function<void()> refreshModel;
  // Shows a message box (an equilibrium constant without digits to show).
  std::function<void(const std::string&)> showMessage;
  void LinkInstrument(const InstrumentLinks& links) { instrument_ = links; }

  // Solution.
  Frame FrameSolution{"FrameSolution"};
  Label LabelElectrolyte{"LabelElectrolyte"};
  TextBox Text1{"Text1"};
  Label LabelElectrolyteC{"LabelElectrolyteC"};
  TextBox TextElectrolyteC{"TextElectrolyteC"};
  Label LabelpH{"LabelpH"};
  TextBox TextpH{"TextpH"};
  Label LabelVis{"LabelVis"};
  TextBox TextVis{"TextVis"};
  Label LabelPconst{"LabelPconst"};
  TextBox txtPconst{"txtPconst"};
  CheckBox CheckPreEqu{"CheckPreEqu"};
  // The adsorbed layer, shown when the mechanism has adsorbed species: its saturation surface
  // concentration and its Frumkin interaction parameter g (fitted as index 80).
  Label LabelSaturation{"LabelSaturation"};
  TextBox TextSaturation{"TextSaturation"};
  Label LabelInteraction{"LabelInteraction"};
  TextBox TextInteraction{"TextInteraction"};
  TextBox TextGmin{"TextGmin"};
  TextBox TextGmax{"TextGmax"};

  // Species rows 1..8.
  Frame FrameSpecies{"FrameSpecies"};
  ControlArray<Label> specie;
  ControlArray<TextBox> D;
  ControlArray<TextBox> TextDmin;
  ControlArray<TextBox> TextDmax;
  ControlArray<TextBox> C;
  ControlArray<Label> Cinit;
  ControlArray<TextBox> TextCmin;
  ControlArray<TextBox> TextCmax;
  // The surface concentration of an adsorbed species, mol/cm2, in place of D and C.
  ControlArray<TextBox> Gamma;
  ControlArray<TextBox> TextGammaMin;
  ControlArray<TextBox> TextGammaMax;

  // Charge-reaction rows 1..3.
  Frame FrameCharge{"FrameCharge"};
  ControlArray<Label> heter;
  ControlArray<TextBox> ks;
  ControlArray<TextBox> TextKsmin;
  ControlArray<TextBox> TextKsmax;
  ControlArray<TextBox> alph;
  ControlArray<TextBox> TextAlphaMin;
  ControlArray<TextBox> TextAlphamax;
  // Reorganisation energy (eV) of Marcus-Hush-Chidsey kinetics in place of alpha; 0: Butler-Volmer.
  ControlArray<TextBox> lambda;
  ControlArray<TextBox> TextLambdaMin;
  ControlArray<TextBox> TextLambdaMax;
  ControlArray<TextBox> Eze;
  ControlArray<TextBox> TextEzeromin;
  ControlArray<TextBox> TextEzeromax;

  // Homogeneous-reaction rows 1..4.
  Frame FrameHomogeneous{"FrameHomogeneous"};
  ControlArray<Label> homo;
  ControlArray<TextBox> kf;
  ControlArray<TextBox> TextKfmin;
  ControlArray<TextBox> TextKfmax;
  ControlArray<TextBox> kb;
  ControlArray<TextBox> TextKbmin;
  ControlArray<TextBox> TextKbmax;
  ControlArray<Label> LabelKeq;

  // Fitted flags: 1..8 C, 11..13 ks, 21..23 alpha, 31..33 E0, 41..44 kf, 51..54 kb, 61..63
  // lambda, 71..78 D, 80 the layer's g, 81..88 Gamma.
  ControlArray<CheckBox> CheckFitted;
  ControlArray<Label> Header;  // column captions, numbered across the window
  // The points a fit compares: a potential range and a point range; an empty box does not
  // limit.
  Frame FrameFitWindow{"FrameFitWindow"};
  Label LabelFitE{"LabelFitE"};
  TextBox TextFitEmin{"TextFitEmin"};
  TextBox TextFitEmax{"TextFitEmax"};
  Label LabelFitPoints{"LabelFitPoints"};
  TextBox TextFitFirst{"TextFitFirst"};
  TextBox TextFitLast{"TextFitLast"};
  // The parameters Run -> Profile Intervals profiles, by their names in the fit report ("ks(1)
  // alpha(1)"); empty: every fitted parameter.
  Label LabelProfile{"LabelProfile"};
  TextBox TextProfile{"TextProfile"};
  Button cmdOK{"cmdOK"};

  // The min and max boxes of the parameter with that fitted index.
  std::pair<TextBox*, TextBox*> RangeBoxes(int index) const;

  // The parameters whose fitted box is checked and visible, with the numbers in their min and
  // max boxes, in the order a fit lists them.
  FitChoices ChosenFitParameters() const;
  // The fit window as typed; a box that does not read as a number names itself.
  FitWindow ChosenFitWindow() const;
  // Shows a fitted value as the caption of its fitted box.
  void ShowFittedValue(int code, double value);
  // The numbers in the value fields, for the model refresh.
  ChemicalsValues Values() const;

 private:
  void BuildSolution();
  void BuildSpecies();
  void BuildChargeReactions();
  void BuildHomogeneousReactions();
  void BuildFitWindow();
  Label& AddHeader(const std::string& frame, int column, const std::string& caption,
                   const std::string& toolTip = "");
  TextBox& AddBox(ControlArray<TextBox>& family, const std::string& name, int index,
                  const std::string& text, const std::string& frame, int row, int column);
  CheckBox& AddFitted(int index, bool checked, const std::string& frame, int row, int column);
  void ShowSpeciesRows();
  void BuildLayer(int column);
  void ShowChargeRows();
  void ShowHomogeneousRows();
  void SetMechanismCaptions();
  // What the "C init" column is computed from, read from the boxes of the three windows.
  PreEquilibrationInputs PreEquilibration() const;

  Model& model_;
  FormMech& mechanism_;
  InstrumentLinks instrument_;
  int headerCount_ = 0;
  std::vector<Label*> layerHeaders_;  // the Γ columns' captions, shown with an adsorbed species
};

}  // namespace qalto
