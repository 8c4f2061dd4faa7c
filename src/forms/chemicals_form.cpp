#include "forms/chemicals_form.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <tuple>

#include "common/ignore_errors.h"
#include "common/number_format.h"
#include "common/number_text.h"

namespace qalto {
namespace {

constexpr const char* kSpeciesLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H"};
// The equilibrium constant of an irreversible reaction (kb = 0), which reads as no constant.
constexpr const char* kIrreversibleKeq = "∞";

struct AnalyticalCaptions {
  std::array<const char*, 3> heter;
  const char* homo;
};

// Equation captions of the ten fixed mechanisms.
constexpr std::array<AnalyticalCaptions, 10> kMechanismCaptions{{
    {{"A+ne=B"}, ""},
    {{"A+ne=B", "B+ne=C"}, ""},
    {{"A+ne=B", "B+ne=C", "C+ne=D"}, ""},
    {{"A+ne=B", "C+ne=D"}, ""},
    {{"A+ne=B", "C+ne=D", "E+ne=F"}, ""},
    {{"A+ne=B"}, "C=A"},
    {{"A+ne=B"}, "B=C"},
    {{"A+ne=B"}, "B+C=A"},
    {{"M+ne=B"}, "MX4=M+4X"},
    {{"M+ne=B"}, "MX2=M+2X"},
}};

}  // namespace

FormExpr::FormExpr(Model& model, FormMech& mechanism)
    : Form("FormExpr", "Chemicals"), model_(model), mechanism_(mechanism) {
  BuildSolution();
  BuildSpecies();
  BuildChargeReactions();
  BuildHomogeneousReactions();
  BuildFitWindow();
  cmdOK.SetCaption("OK");
  cmdOK.onClick = [this] { cmdOK_Click(); };
  Add(cmdOK);
}

void FormExpr::BuildFitWindow() {
  const std::string frame = "FrameFitWindow";
  FrameFitWindow.SetCaption("Fit window");
  Add(FrameFitWindow);
  int row = 0;
  for (auto [label, caption, toolTip, low, high] :
       {std::tuple{&LabelFitE, "E from, to (V)", "potentials compared by the fit", &TextFitEmin,
                   &TextFitEmax},
        std::tuple{&LabelFitPoints, "points from, to", "points compared by the fit", &TextFitFirst,
                   &TextFitLast}}) {
    label->SetCaption(caption);
    label->SetToolTip(toolTip);
    label->SetGrid(row, 0);
    Add(*label, frame);
    int column = 1;
    for (TextBox* box : {low, high}) {
      box->SetNumeric(true);
      box->SetText("");
      box->SetGrid(row, column++);
      Add(*box, frame);
    }
    ++row;
  }
  LabelProfile.SetCaption("Profile");
  LabelProfile.SetToolTip("parameters whose profile-likelihood interval Profile Intervals finds");
  LabelProfile.SetGrid(row, 0);
  Add(LabelProfile, frame);
  TextProfile.SetText("");
  TextProfile.SetGrid(row, 1);
  Add(TextProfile, frame);
}

FitWindow FormExpr::ChosenFitWindow() const {
  auto bound = [](const TextBox& box, const char* name) -> std::optional<double> {
    if (box.Text().find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    return ReadBoxNumber(box.Text(), name);
  };
  auto point = [&](const TextBox& box, const char* name) -> std::optional<int> {
    std::optional<double> value = bound(box, name);
    if (!value) return std::nullopt;
    return static_cast<int>(std::clamp(std::round(*value), -1e9, 1e9));
  };
  FitWindow window;
  window.eLow = bound(TextFitEmin, "E from (V)");
  window.eHigh = bound(TextFitEmax, "E to (V)");
  window.first = point(TextFitFirst, "points from");
  window.last = point(TextFitLast, "points to");
  return window;
}

Label& FormExpr::AddHeader(const std::string& frame, int column, const std::string& caption,
                           const std::string& toolTip) {
  Label& label = Header.Add("Header", ++headerCount_);
  label.SetCaption(caption);
  label.SetToolTip(toolTip);
  label.SetGrid(0, column);
  return Add(label, frame);
}

TextBox& FormExpr::AddBox(ControlArray<TextBox>& family, const std::string& name, int index,
                          const std::string& text, const std::string& frame, int row, int column) {
  TextBox& box = family.Add(name, index);
  box.SetNumeric(true);
  box.SetText(text);
  box.SetGrid(row, column);
  return Add(box, frame);
}

CheckBox& FormExpr::AddFitted(int index, bool checked, const std::string& frame, int row,
                              int column) {
  CheckBox& box = CheckFitted.Add("CheckFitted", index);
  box.InitChecked(checked);
  box.SetGrid(row, column);
  box.onClick = [this, index] { CheckFitted_Click(index); };
  return Add(box, frame);
}

void FormExpr::BuildSolution() {
  FrameSolution.SetCaption("Solution");
  Add(FrameSolution);
  struct Field {
    Label* label;
    const char* caption;
    const char* toolTip;
    TextBox* box;
    const char* text;
  };
  const Field fields[] = {
      {&LabelElectrolyte, "Electrolyte", "", &Text1, "KCl"},
      {&LabelElectrolyteC, "C (M)", "support electrolyte concentration", &TextElectrolyteC, "1"},
      {&LabelpH, "pH", "", &TextpH, "7"},
      {&LabelVis, "Vis (cm ²/s)", "kinematic viscosity of solution", &TextVis, "0.01"},
      {&LabelPconst, "Vol s (ml)", "solution volume", &txtPconst, "10"},
  };
  int column = 0;
  for (const Field& f : fields) {
    f.label->SetCaption(f.caption);
    f.label->SetToolTip(f.toolTip);
    f.label->SetGrid(0, column);
    Add(*f.label, "FrameSolution");
    f.box->SetNumeric(f.box != &Text1);  // the electrolyte is named, the others are numbers
    f.box->SetText(f.text);
    f.box->SetGrid(1, column++);
    Add(*f.box, "FrameSolution");
  }
  CheckPreEqu.SetCaption("Pre-equil");
  CheckPreEqu.SetToolTip("pre-equilibration");
  CheckPreEqu.InitChecked(true);
  CheckPreEqu.SetGrid(1, column);
  CheckPreEqu.onClick = [this] { CheckPreEqu_Click(); };
  Add(CheckPreEqu, "FrameSolution");
  BuildLayer(column + 1);
}

void FormExpr::BuildLayer(int column) {
  const std::string frame = "FrameSolution";
  auto place = [&](Control& control, int row) {
    control.SetGrid(row, column);
    Add(control, frame);
  };
  LabelSaturation.SetCaption("Γmax (mol/cm²)");
  LabelSaturation.SetToolTip("saturation surface concentration of the adsorbed layer");
  place(LabelSaturation, 0);
  TextSaturation.SetNumeric(true);
  TextSaturation.SetText("2e-10");
  place(TextSaturation, 1);
  ++column;
  LabelInteraction.SetCaption("g");
  LabelInteraction.SetToolTip(
      "Frumkin interaction parameter of the adsorbed layer: > 0 attraction, < 0 repulsion");
  place(LabelInteraction, 0);
  TextInteraction.SetNumeric(true);
  TextInteraction.SetText("0");
  place(TextInteraction, 1);
  AddFitted(80, false, frame, 1, ++column);
  for (auto [box, text] : {std::pair{&TextGmin, "-1"}, std::pair{&TextGmax, "1"}}) {
    box->SetNumeric(true);
    box->SetText(text);
    box->SetVisible(false);
    box->SetGrid(1, ++column);
    Add(*box, frame);
  }
  for (Control* c :
       std::initializer_list<Control*>{&LabelSaturation, &TextSaturation, &LabelInteraction,
                                       &TextInteraction, &CheckFitted(80)}) {
    c->SetVisible(false);
  }
}

void FormExpr::BuildSpecies() {
  const std::string frame = "FrameSpecies";
  FrameSpecies.SetCaption("Species");
  Add(FrameSpecies);
  AddHeader(frame, 1, "D (cm ²/s)");
  AddHeader(frame, 2, "D fitted (cm ²/s)");
  AddHeader(frame, 3, "D min");
  AddHeader(frame, 4, "D max");
  AddHeader(frame, 5, "C anal (M)", "analytical concentration");
  AddHeader(frame, 6, "C init (M)", "initial concentration at electrode surface");
  AddHeader(frame, 7, "C fitted (M)");
  AddHeader(frame, 8, "C min (M)");
  AddHeader(frame, 9, "C max (M)");
  layerHeaders_ = {
      &AddHeader(frame, 10, "Γ (mol/cm²)", "surface concentration of an adsorbed species"),
      &AddHeader(frame, 11, "Γ fitted"), &AddHeader(frame, 12, "Γ min"),
      &AddHeader(frame, 13, "Γ max")};
  for (Label* header : layerHeaders_)
    header->SetVisible(false);
  for (int i = 1; i <= kMaxSpecies; ++i) {
    Label& name = specie.Add("specie", i);
    name.SetCaption(kSpeciesLetters[i - 1]);
    name.SetGrid(i, 0);
    Add(name, frame);
    AddBox(D, "D", i, "1e-5", frame, i, 1);
    AddFitted(70 + i, false, frame, i, 2);
    AddBox(TextDmin, "TextDmin", i, "1e-6", frame, i, 3).SetVisible(false);
    AddBox(TextDmax, "TextDmax", i, "1e-4", frame, i, 4).SetVisible(false);
    AddBox(C, "C", i, i == 1 ? "1e-3" : "0", frame, i, 5).onChange = [this, i] { C_Change(i); };
    Label& initial = Cinit.Add("Cinit", i);
    initial.SetCaption(i == 1 ? "1e-3" : "0");
    initial.SetGrid(i, 6);
    Add(initial, frame);
    AddFitted(i, i == 1, frame, i, 7);
    AddBox(TextCmin, "TextCmin", i, i == 1 ? "1e-4" : "0", frame, i, 8).SetVisible(i == 1);
    AddBox(TextCmax, "TextCmax", i, "1e-2", frame, i, 9).SetVisible(i == 1);
    AddBox(Gamma, "Gamma", i, i == 1 ? "1e-10" : "0", frame, i, 10).SetVisible(false);
    AddFitted(80 + i, false, frame, i, 11).SetVisible(false);
    AddBox(TextGammaMin, "TextGammaMin", i, "1e-12", frame, i, 12).SetVisible(false);
    AddBox(TextGammaMax, "TextGammaMax", i, "1e-8", frame, i, 13).SetVisible(false);
  }
}

void FormExpr::BuildChargeReactions() {
  const std::string frame = "FrameCharge";
  FrameCharge.SetCaption("Charge Reaction");
  FrameCharge.SetToolTip("Heterogeneous Reaction");
  Add(FrameCharge);
  AddHeader(frame, 1, "ks (cm/s)");
  AddHeader(frame, 2, "ks fitted");
  AddHeader(frame, 3, "ks min");
  AddHeader(frame, 4, "ks max");
  AddHeader(frame, 5, "α", "electron transfer coefficient");
  AddHeader(frame, 6, "fitted");
  AddHeader(frame, 7, "min");
  AddHeader(frame, 8, "max");
  AddHeader(frame, 13, "E° (V)");
  AddHeader(frame, 14, "E° fitted (V)");
  AddHeader(frame, 15, "E° min");
  AddHeader(frame, 16, "E° max");
  AddHeader(frame, 9, "λ (eV)",
            "reorganisation energy: Marcus-Hush-Chidsey kinetics in place of α; 0: Butler-Volmer");
  AddHeader(frame, 10, "λ fitted");
  AddHeader(frame, 11, "λ min");
  AddHeader(frame, 12, "λ max");
  const char* e0[] = {"0.1", "-0.1", "-0.2"};
  const char* e0Max[] = {"0.2", "0.2", "0.3"};
  for (int r = 1; r <= 3; ++r) {
    Label& equation = heter.Add("heter", r);
    equation.SetCaption(std::to_string(r));
    equation.SetGrid(r, 0);
    Add(equation, frame);
    AddBox(ks, "ks", r, "1e4", frame, r, 1);
    AddFitted(10 + r, false, frame, r, 2);
    AddBox(TextKsmin, "TextKsmin", r, "1e-4", frame, r, 3).SetVisible(false);
    AddBox(TextKsmax, "TextKsmax", r, "100", frame, r, 4).SetVisible(false);
    AddBox(alph, "alph", r, "0.5", frame, r, 5);
    AddFitted(20 + r, false, frame, r, 6);
    AddBox(TextAlphaMin, "TextAlphaMin", r, "0.4", frame, r, 7).SetVisible(false);
    AddBox(TextAlphamax, "TextAlphamax", r, "0.6", frame, r, 8).SetVisible(false);
    AddBox(Eze, "Eze", r, e0[r - 1], frame, r, 13).onChange = [this, r] { Eze_Change(r); };
    AddFitted(30 + r, false, frame, r, 14);
    AddBox(TextEzeromin, "TextEzeromin", r, "-0.2", frame, r, 15).SetVisible(false);
    AddBox(TextEzeromax, "TextEzeromax", r, e0Max[r - 1], frame, r, 16).SetVisible(false);
    AddBox(lambda, "lambda", r, "0", frame, r, 9);
    AddFitted(60 + r, false, frame, r, 10);
    AddBox(TextLambdaMin, "TextLambdaMin", r, "0.1", frame, r, 11).SetVisible(false);
    AddBox(TextLambdaMax, "TextLambdaMax", r, "50", frame, r, 12).SetVisible(false);
  }
}

void FormExpr::BuildHomogeneousReactions() {
  const std::string frame = "FrameHomogeneous";
  FrameHomogeneous.SetCaption("Homogeneous Reaction");
  Add(FrameHomogeneous);
  AddHeader(frame, 1, "kf", "forward chemical reaction rate constant");
  AddHeader(frame, 2, "kf fitted");
  AddHeader(frame, 3, "kf min");
  AddHeader(frame, 4, "kf max");
  AddHeader(frame, 5, "kb", "backward chemical reaction rate constant");
  AddHeader(frame, 6, "kb fitted");
  AddHeader(frame, 7, "kb min");
  AddHeader(frame, 8, "kb max");
  AddHeader(frame, 9, "Keq", "chemical equilibrium constant");
  for (int i = 1; i <= 4; ++i) {
    Label& equation = homo.Add("homo", i);
    equation.SetCaption(std::to_string(i));
    equation.SetGrid(i, 0);
    Add(equation, frame);
    AddBox(kf, "kf", i, "10", frame, i, 1).onChange = [this, i] { kf_Change(i); };
    AddFitted(40 + i, false, frame, i, 2);
    AddBox(TextKfmin, "TextKfmin", i, "1", frame, i, 3).SetVisible(false);
    AddBox(TextKfmax, "TextKfmax", i, "100", frame, i, 4).SetVisible(false);
    AddBox(kb, "kb", i, "0.01", frame, i, 5).onChange = [this, i] { kb_Change(i); };
    AddFitted(50 + i, false, frame, i, 6);
    AddBox(TextKbmin, "TextKbmin", i, "0.001", frame, i, 7).SetVisible(false);
    AddBox(TextKbmax, "TextKbmax", i, "1", frame, i, 8).SetVisible(false);
    Label& keq = LabelKeq.Add("LabelKeq", i);
    keq.SetGrid(i, 9);
    keq.onChange = [this, i] { LabelKeq_Change(i); };
    Add(keq, frame);
  }
}

void FormExpr::OK() {
  Form_Activate();
  if (refreshModel) refreshModel();
}

void FormExpr::cmdOK_Click() {
  OK();
  Hide();
}

void FormExpr::Form_Activate() {
  if (applyInstrument) applyInstrument();
  ShowSpeciesRows();
  ShowChargeRows();
  ShowHomogeneousRows();
  SetMechanismCaptions();
}

void FormExpr::ShowSpeciesRows() {
  for (int i = 1; i <= kMaxSpecies; ++i) {
    for (Control* c :
         std::initializer_list<Control*>{&specie(i), &D(i), &C(i), &Cinit(i), &CheckFitted(i),
                                         &CheckFitted(70 + i), &Gamma(i), &CheckFitted(80 + i)}) {
      c->SetVisible(false);
    }
  }
  bool layer = false;
  for (int i = 1; i <= model_.SpeciesCount; ++i) {
    if (mechanism_.CheckDigital.Checked()) specie(i).SetCaption(model_.SpeciesName(i));
    specie(i).SetVisible(true);
    // An adsorbed species has its surface concentration in place of D and C.
    const bool adsorbed = model_.SpeciesAdsorbed(i) != 0;
    layer = layer || adsorbed;
    for (Control* c : std::initializer_list<Control*>{&D(i), &C(i), &Cinit(i), &CheckFitted(i),
                                                      &CheckFitted(70 + i)}) {
      c->SetVisible(!adsorbed);
    }
    Gamma(i).SetVisible(adsorbed);
    CheckFitted(80 + i).SetVisible(adsorbed);
  }
  if (model_.SpeciesCount >= 1) C_Change(1);  // the initial concentrations of every species
  for (Control* c :
       std::initializer_list<Control*>{&LabelSaturation, &TextSaturation, &LabelInteraction,
                                       &TextInteraction, &CheckFitted(80)}) {
    c->SetVisible(layer);
  }
  for (Label* header : layerHeaders_)
    header->SetVisible(layer);
}

void FormExpr::ShowChargeRows() {
  for (int r = 1; r <= 3; ++r) {
    bool shown = r <= model_.ChargeReactionCount;
    const int O = shown ? model_.ChargeReactionSpecies(r, 1) : 0;
    const int R = shown ? model_.ChargeReactionSpecies(r, 2) : 0;
    const bool couple = O >= 1 && R >= 1 && O <= kMaxSpecies && R <= kMaxSpecies &&
                        model_.SpeciesAdsorbed(O) != 0 && model_.SpeciesAdsorbed(R) != 0;
    ks(r).SetToolTip(couple ? "standard rate constant of a surface couple, 1/s" : "");
    for (Control* c : std::initializer_list<Control*>{
             &heter(r), &ks(r), &alph(r), &Eze(r), &lambda(r), &CheckFitted(10 + r),
             &CheckFitted(20 + r), &CheckFitted(30 + r), &CheckFitted(60 + r)}) {
      c->SetVisible(shown);
    }
  }
}

void FormExpr::ShowHomogeneousRows() {
  int rows = model_.FirstOrderReactionCount + model_.SecondOrderReactionCount;
  for (int i = 1; i <= 4; ++i) {
    for (Control* c : std::initializer_list<Control*>{
             &homo(i), &kb(i), &kf(i), &CheckFitted(40 + i), &CheckFitted(50 + i), &LabelKeq(i)}) {
      c->SetVisible(false);
    }
  }
  for (int i = 1; i <= rows && i <= 4; ++i) {
    for (Control* c : std::initializer_list<Control*>{
             &homo(i), &kb(i), &kf(i), &CheckFitted(40 + i), &CheckFitted(50 + i), &LabelKeq(i)}) {
      c->SetVisible(true);
    }
    kf_Change(i);
  }
}

void FormExpr::SetMechanismCaptions() {
  if (mechanism_.CheckDigital.Checked()) {
    for (int r = 1; r <= model_.ChargeReactionCount; ++r) {
      heter(r).SetCaption(model_.ChargeReactionText(r));
    }
    int rows = model_.FirstOrderReactionCount + model_.SecondOrderReactionCount;
    for (int i = 1; i <= rows && i <= 4; ++i)
      homo(i).SetCaption(model_.ChemReactionText(i));
    return;
  }
  if (model_.Mechanism < 1 || model_.Mechanism > 10) return;
  const AnalyticalCaptions& captions =
      kMechanismCaptions[static_cast<size_t>(model_.Mechanism - 1)];
  for (int r = 1; r <= 3; ++r) {
    if (captions.heter[static_cast<size_t>(r - 1)] != nullptr) {
      heter(r).SetCaption(captions.heter[static_cast<size_t>(r - 1)]);
    }
  }
  if (captions.homo[0] != '\0') homo(1).SetCaption(captions.homo);
  if (model_.Mechanism == 9 || model_.Mechanism == 10) {
    specie(1).SetCaption("M");
    specie(3).SetCaption(model_.Mechanism == 9 ? "MX4" : "MX2");
    specie(4).SetCaption("X");
  }
}

PreEquilibrationInputs FormExpr::PreEquilibration() const {
  auto read = [](const TextBox& box) { return TypedNumber::Read(box.Text()); };
  PreEquilibrationInputs inputs;
  for (int s = 1; s <= kMaxSpecies; ++s) {
    inputs.analytical(s) = read(C(s));
    inputs.shown(s) = TypedNumber::Read(Cinit(s).Caption());
  }
  for (int r = 1; r <= 3; ++r)
    inputs.e0(r) = read(Eze(r));
  for (int r = 1; r <= 4; ++r)
    inputs.keq(r) = TypedNumber::Read(LabelKeq(r).Caption());
  for (int b = 1; b <= 16; ++b)
    inputs.secondOrderBoxFilled(b) = mechanism_.chem2(b).Text().empty() ? 0 : 1;
  inputs.startPotential = read(*instrument_.Estart);
  inputs.preEquilibrate = CheckPreEqu.Checked();
  inputs.preconcentrate = instrument_.CheckPreCon->Checked();
  inputs.preconcentration = {read(txtPconst), read(*instrument_.txtRStir),
                             read(*instrument_.txtTPre), read(*instrument_.txtTpreconst),
                             read(*instrument_.txtEPre)};
  return inputs;
}

// The initial concentration of every species, whichever species' C changed.
void FormExpr::C_Change(int) {
  if (instrument_.Estart == nullptr) return;  // not linked to an Instrument window yet
  const InitialConcentrations column = ComputeInitialConcentrations(model_, PreEquilibration());
  for (int s = 1; s <= kMaxSpecies; ++s) {
    if (column(s))
      IgnoringErrors([&] { Cinit(s).SetCaption(FormatNumber(*column(s), kConcentrationFormat)); });
  }
}

void FormExpr::Eze_Change(int index) {
  C_Change(index);
}

// Keq = kf / kb; one beyond the number range (kb 1e-308) ends the change with the overflow
// message, and the label keeps what it showed. A kb of zero makes the reaction irreversible: it
// has no equilibrium, the label shows infinity, which reads as no constant, and the
// pre-equilibration leaves the reaction alone instead of holding the last constant shown.
void FormExpr::kf_Change(int index) {
  try {
    double backward = ReadNumber(kb(index).Text());
    if (backward > 0) {
      LabelKeq(index).SetCaption(FormatNumber(ReadNumber(kf(index).Text()) / backward, "#.###e-#"));
    } else if (backward == 0) {
      LabelKeq(index).SetCaption(kIrreversibleKeq);
    }
  } catch (const RuntimeError&) {
    if (!showMessage) return;
    showMessage("Run-time error: Overflow: Keq from kf " + ShownText(kf(index).Text()) + " / kb " +
                ShownText(kb(index).Text()) + " of reaction " + std::to_string(index) +
                " is beyond the number range; it keeps " + LabelKeq(index).Caption());
  }
}

void FormExpr::kb_Change(int index) {
  kf_Change(index);
}

void FormExpr::LabelKeq_Change(int) {
  C_Change(1);  // every species
}

void FormExpr::CheckPreEqu_Click() {
  for (int i = 1; i <= kMaxSpecies; ++i) {
    IgnoringErrors(
        [&] { Cinit(i).SetCaption(FormatNumber(ReadNumber(C(i).Text()), kConcentrationFormat)); });
  }
  if (CheckPreEqu.Checked()) C_Change(1);  // every species
}

std::pair<TextBox*, TextBox*> FormExpr::RangeBoxes(int index) const {
  if (index >= 1 && index <= 8) return {&TextCmin(index), &TextCmax(index)};
  if (index >= 11 && index <= 13) return {&TextKsmin(index - 10), &TextKsmax(index - 10)};
  if (index >= 21 && index <= 23) return {&TextAlphaMin(index - 20), &TextAlphamax(index - 20)};
  if (index >= 31 && index <= 33) return {&TextEzeromin(index - 30), &TextEzeromax(index - 30)};
  if (index >= 41 && index <= 44) return {&TextKfmin(index - 40), &TextKfmax(index - 40)};
  if (index >= 51 && index <= 54) return {&TextKbmin(index - 50), &TextKbmax(index - 50)};
  if (index >= 61 && index <= 63) return {&TextLambdaMin(index - 60), &TextLambdaMax(index - 60)};
  if (index >= 71 && index <= 78) return {&TextDmin(index - 70), &TextDmax(index - 70)};
  if (index == 80) return {const_cast<TextBox*>(&TextGmin), const_cast<TextBox*>(&TextGmax)};
  if (index >= 81 && index <= 88) return {&TextGammaMin(index - 80), &TextGammaMax(index - 80)};
  throw RuntimeError::SubscriptOutOfRange();
}

ChemicalsValues FormExpr::Values() const {
  // A box that does not read names itself: "ks (cm/s) of reaction 2".
  auto read = [](std::string_view text, const char* caption, const char* row, size_t index) {
    return ReadBoxNumberCaptioned(
        text, [&] { return std::string(caption) + " of " + row + " " + std::to_string(index); });
  };
  ChemicalsValues values;
  values.viscosity = ReadBoxNumber(TextVis.Text(), "Vis (cm ²/s)");
  values.electrolyteC = ReadBoxNumber(TextElectrolyteC.Text(), "C (M)");
  for (size_t r = 1; r <= 3; ++r) {
    int i = static_cast<int>(r);
    values.alpha[r] = read(alph(i).Text(), "α", "reaction", r);
    values.e0[r] = read(Eze(i).Text(), "E° (V)", "reaction", r);
    values.ks[r] = read(ks(i).Text(), "ks (cm/s)", "reaction", r);
    values.lambda[r] = read(lambda(i).Text(), "λ (eV)", "reaction", r);
  }
  for (size_t r = 1; r <= 4; ++r) {
    int i = static_cast<int>(r);
    values.kf[r] = read(kf(i).Text(), "kf", "reaction", r);
    values.kb[r] = read(kb(i).Text(), "kb", "reaction", r);
    values.keq[r] = read(LabelKeq(i).Caption(), "Keq", "reaction", r);
  }
  for (size_t s = 1; s <= kMaxSpecies; ++s) {
    int i = static_cast<int>(s);
    values.d[s] = read(D(i).Text(), "D (cm ²/s)", "species", s);
    values.cInit[s] = read(Cinit(i).Caption(), "C init (M)", "species", s);
    values.gamma[s] = read(Gamma(i).Text(), "Γ (mol/cm²)", "species", s);
  }
  values.saturation = ReadBoxNumber(TextSaturation.Text(), "Γmax (mol/cm²)");
  values.interaction = ReadBoxNumber(TextInteraction.Text(), "g");
  values.preEquilibrate = CheckPreEqu.Checked();
  return values;
}

FitChoices FormExpr::ChosenFitParameters() const {
  FitChoices choices;
  for (int code : FitParameterCodes()) {
    const CheckBox& box = CheckFitted(code);
    if (!box.Checked() || !box.Visible()) continue;
    auto [minimum, maximum] = RangeBoxes(code);
    choices.push_back({code, ReadNumber(minimum->Text()), ReadNumber(maximum->Text())});
  }
  return choices;
}

void FormExpr::ShowFittedValue(int code, double value) {
  CheckFitted(code).SetCaption(FormatNumber(value, "0.###e-#"));
}

void FormExpr::CheckFitted_Click(int index) {
  auto [minimum, maximum] = RangeBoxes(index);
  bool shown = CheckFitted(index).Checked();
  minimum->SetVisible(shown);
  maximum->SetVisible(shown);
}

}  // namespace qalto
