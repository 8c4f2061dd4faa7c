#include "forms/mechanism_form.h"

#include <algorithm>

#include "chemistry/fixed_mechanisms.h"
#include "common/number_text.h"

namespace qalto {
namespace {

constexpr int kMaxHomogeneousReactions = 4;

// "A(ads)": a species on the electrode surface.
bool IsAdsorbedName(const std::string& name) {
  constexpr std::string_view kSuffix = "(ads)";
  return name.size() > kSuffix.size() && name.ends_with(kSuffix);
}

}  // namespace

FormMech::FormMech(Model& model) : Form("FormMech", "Mechanism"), model_(model) {
  BuildChargeRows();
  BuildChemicalRows();
  BuildMechanismList();
  CheckDigital.SetCaption("Digital Simulation");
  CheckDigital.SetToolTip("Digital or analytical simulation");
  CheckDigital.InitChecked(true);
  CheckDigital.onClick = [this] { CheckDigital_Click(); };
  Add(CheckDigital);
  Command1.SetCaption("OK");
  Command1.onClick = [this] { Command1_Click(); };
  Add(Command1);
  // The window starts in digital mode: the reaction editor shown, the mechanism list hidden.
  Frame1.SetVisible(false);
}

void FormMech::BuildChargeRows() {
  Add(Frame2);
  Frame3.SetCaption("Charge reaction");
  Add(Frame3, "Frame2");
  // One row per charge reaction, read left to right as the equation
  // n1 Ox + m H+ + n e = n2 Red + k H2O.
  for (int r = 1; r <= 3; ++r) {
    int base = 10 * r;
    int column = 0;
    auto place = [&](Control& control) {
      control.SetGrid(r - 1, column++);
      Add(control, "Frame3");
    };
    auto box = [&](int offset, const char* text) {
      TextBox& b = charge.Add("charge", base + offset);
      b.SetNumeric(offset != 2 && offset != 6);  // counts and charge numbers; 2 and 6 name species
      b.SetText(text);
      place(b);
    };
    box(1, "1");
    box(2, r == 1 ? "Fe+3" : "");
    Label& plus = LabelPlus.Add("LabelPlus", r);
    plus.SetCaption("+");
    place(plus);
    box(3, "1");
    Label& h2 = LabelH.Add("LabelH", base + 2);
    h2.SetCaption("H+ +");
    place(h2);
    box(4, "1");
    Label& electron = LabelElectron.Add("LabelElectron", r);
    electron.SetCaption(" e =");
    place(electron);
    box(5, "1");
    box(6, r == 1 ? "Fe+2" : "");
    Label& h4 = LabelH.Add("LabelH", base + 4);
    h4.SetCaption("+");
    place(h4);
    box(7, "1");
    Label& h5 = LabelH.Add("LabelH", base + 5);
    h5.SetCaption(" H2O");
    place(h5);
  }
  CheckpH.SetCaption("pH effect");
  CheckpH.onClick = [this] { CheckpH_Click(); };
  Add(CheckpH, "Frame3");
  OptionH.SetCaption("H+");
  OptionOH.SetCaption("OH-");
  protonKinds_.Add(OptionH);
  protonKinds_.Add(OptionOH);
  OptionH.InitSelected(true);
  OptionH.onClick = [this] { OptionOH_Click(); };
  OptionOH.onClick = [this] { OptionOH_Click(); };
  Add(OptionH, "Frame3");
  Add(OptionOH, "Frame3");
  SetpHControlsVisible(false);
}

void FormMech::BuildChemicalRows() {
  // One row per reaction: A = B, and A + B = C + D.
  auto place = [this](Control& control, const char* frame, int row, int column) {
    control.SetGrid(row, column);
    Add(control, frame);
  };
  Frame4.SetCaption("First order chemical reaction");
  Add(Frame4, "Frame2");
  for (int i = 1; i <= 4; ++i) {
    place(chem.Add("chem", 2 * i - 1), "Frame4", i - 1, 0);
    Label& eq = LabelChemEq.Add("LabelChemEq", i);
    eq.SetCaption("=");
    place(eq, "Frame4", i - 1, 1);
    place(chem.Add("chem", 2 * i), "Frame4", i - 1, 2);
  }
  Frame5.SetCaption("Second order chemical reaction");
  Add(Frame5, "Frame2");
  for (int i = 1; i <= 4; ++i) {
    place(chem2.Add("chem2", 4 * i - 3), "Frame5", i - 1, 0);
    Label& plus1 = LabelChem2Plus.Add("LabelChem2Plus", 2 * i - 1);
    plus1.SetCaption(" +");
    place(plus1, "Frame5", i - 1, 1);
    place(chem2.Add("chem2", 4 * i - 2), "Frame5", i - 1, 2);
    Label& eq = LabelChem2Eq.Add("LabelChem2Eq", i);
    eq.SetCaption("=");
    place(eq, "Frame5", i - 1, 3);
    place(chem2.Add("chem2", 4 * i - 1), "Frame5", i - 1, 4);
    Label& plus2 = LabelChem2Plus.Add("LabelChem2Plus", 2 * i);
    plus2.SetCaption(" +");
    place(plus2, "Frame5", i - 1, 5);
    place(chem2.Add("chem2", 4 * i), "Frame5", i - 1, 6);
  }
}

void FormMech::BuildMechanismList() {
  Frame1.SetCaption("Analytical Simulation + Peak");
  Add(Frame1);
  for (int i = 1; i <= 10; ++i) {
    OptionButton& option = mech.Add("mech", i);
    option.SetCaption(kFixedMechanisms[i - 1].caption);
    option.SetToolTip(kFixedMechanisms[i - 1].toolTip);
    mechanisms_.Add(option);
    Add(option, "Frame1");
  }
  mech(1).InitSelected(true);
}

void FormMech::Command1_Click() {
  OK();
  Hide();
}

void FormMech::CheckDigital_Click() {
  Frame2.SetVisible(!Frame2.Visible());
  Frame1.SetVisible(!Frame1.Visible());
  model_.DigitalSimulation = CheckDigital.Checked();
}

void FormMech::SetpHControlsVisible(bool visible) {
  OptionH.SetVisible(visible);
  OptionOH.SetVisible(visible);
  for (int r = 1; r <= 3; ++r) {
    charge(10 * r + 3).SetVisible(visible);
    charge(10 * r + 7).SetVisible(visible);
    LabelH(10 * r + 2).SetVisible(visible);
    LabelH(10 * r + 4).SetVisible(visible);
    LabelH(10 * r + 5).SetVisible(visible);
  }
}

void FormMech::CheckpH_Click() {
  SetpHControlsVisible(CheckpH.Checked());
}

void FormMech::OptionOH_Click() {
  bool protons = OptionH.Selected();
  for (int r = 1; r <= 3; ++r) {
    LabelH(10 * r + 2).SetCaption(protons ? "H+ + " : "H2O + ");
    LabelH(10 * r + 5).SetCaption(protons ? "H2O" : "OH-");
  }
}

void FormMech::OK() {
  if (applyTechniques) applyTechniques();
  model_.FirstOrderReactionCount = 0;
  model_.SecondOrderReactionCount = 0;
  model_.ChargeReactionSpecies.Fill(0);
  model_.FirstOrderReactionSpecies.Fill(0);
  model_.SecondOrderReactionSpecies.Fill(0);
  model_.SpeciesAdsorbed.Fill(0);
  ReadChargeCoefficients();
  for (int i = 1; i <= 10; ++i) {
    if (mech(i).Selected()) {
      model_.Mechanism = i;
      break;
    }
  }
  if (CheckDigital.Checked()) {
    ApplyReactionEditor();
  } else {
    ApplyFixedMechanism();
  }
}

// Electrons, stoichiometric coefficients and proton numbers of charge reactions 1..3 come from
// the editor rows in both modes.
void FormMech::ReadChargeCoefficients() {
  for (int r = 1; r <= 3; ++r) {
    int base = 10 * r;
    double protons = 0.0;
    if (CheckpH.Checked()) {
      protons = ReadNumber(charge(base + (OptionH.Selected() ? 3 : 7)).Text());
    }
    model_.ProtonCount(r) = protons;
  }
  for (int r = 1; r <= 3; ++r) {
    int base = 10 * r;
    model_.ChargeN(r) = ReadNumber(charge(base + 4).Text());
    model_.ChargeReactionStoich(r, 1) = ReadNumber(charge(base + 1).Text());
    model_.ChargeReactionStoich(r, 2) = ReadNumber(charge(base + 5).Text());
  }
}

void FormMech::ApplyFixedMechanism() {
  const FixedMechanism& m = kFixedMechanisms[static_cast<size_t>(model_.Mechanism - 1)];
  model_.SpeciesCount = m.species;
  model_.ChargeReactionCount = m.chargeReactions;
  for (int r = 1; r <= m.chargeReactions; ++r) {
    model_.ChargeReactionSpecies(r, 1) = m.charge[static_cast<size_t>(r - 1)][0];
    model_.ChargeReactionSpecies(r, 2) = m.charge[static_cast<size_t>(r - 1)][1];
  }
  if (m.firstOrder[0] != 0) {
    model_.FirstOrderReactionCount = 1;
    model_.FirstOrderReactionSpecies(1, 1) = m.firstOrder[0];
    model_.FirstOrderReactionSpecies(1, 2) = m.firstOrder[1];
  }
  if (m.complexDissociation) {
    model_.SecondOrderReactionCount = 1;
    model_.SecondOrderReactionSpecies(1, 1) = 3;
    model_.SecondOrderReactionSpecies(1, 2) = 0;
    model_.SecondOrderReactionSpecies(1, 3) = 1;
    model_.SecondOrderReactionSpecies(1, 4) = 4;
  }
}

void FormMech::ApplyReactionEditor() {
  model_.SpeciesCount = 1;
  model_.SpeciesName(1) = charge(12).Text();
  model_.ChargeReactionCount = 0;
  for (int r = 1; r <= 3; ++r) {
    if (!charge(10 * r + 2).Text().empty()) ++model_.ChargeReactionCount;
  }
  for (int i = 1; i <= 4; ++i) {
    if (!chem(2 * i - 1).Text().empty() || !chem(2 * i).Text().empty()) {
      ++model_.FirstOrderReactionCount;
    }
  }
  for (int i = 1; i <= 4; ++i) {
    if (!chem2(4 * i - 3).Text().empty() || !chem2(4 * i - 1).Text().empty()) {
      ++model_.SecondOrderReactionCount;
    }
  }
  CollectSpecies();
  if (model_.FirstOrderReactionCount + model_.SecondOrderReactionCount > kMaxHomogeneousReactions) {
    if (showMessage) showMessage("Error: chemical reaction number cannot > 4.");
    // The constants exist for four homogeneous reactions: the second-order rows beyond them
    // are left out.
    model_.SecondOrderReactionCount =
        std::max(0, kMaxHomogeneousReactions - model_.FirstOrderReactionCount);
  }
  MapSpeciesNumbers();
  WriteEquationTexts();
  for (int k = 1; k <= model_.SpeciesCount; ++k)
    model_.SpeciesAdsorbed(k) = IsAdsorbedName(model_.SpeciesName(k)) ? 1 : 0;
}

void FormMech::CollectSpecies() {
  int extraNames = 0;
  auto consider = [&](const std::string& name) {
    if (name.empty() || SpeciesNumber(name) != 0) return;
    if (model_.SpeciesCount < kMaxSpecies) {
      AddSpecies(name);
    } else {
      ++extraNames;  // the name table holds eight species; later names are left out
    }
  };
  for (int r = 1; r <= 3; ++r) {
    consider(charge(10 * r + 2).Text());
    consider(charge(10 * r + 6).Text());
  }
  for (int i = 1; i <= 8; ++i)
    consider(chem(i).Text());
  for (int i = 1; i <= 16; ++i)
    consider(chem2(i).Text());
  if (extraNames > 0) {
    if (showMessage) showMessage("Error: Species number cannot > " + std::to_string(kMaxSpecies));
  }
}

void FormMech::AddSpecies(const std::string& name) {
  ++model_.SpeciesCount;
  model_.SpeciesName(model_.SpeciesCount) = name;
}

// The number of the first species with that name, 0 when there is none.
int FormMech::SpeciesNumber(const std::string& name) const {
  for (int k = 1; k <= model_.SpeciesCount; ++k) {
    if (model_.SpeciesName(k) == name) return k;
  }
  return 0;
}

void FormMech::MapSpeciesNumbers() {
  for (int r = 1; r <= 3; ++r) {
    for (int k = 1; k <= model_.SpeciesCount; ++k) {
      if (model_.SpeciesName(k) == charge(10 * r + 2).Text())
        model_.ChargeReactionSpecies(r, 1) = k;
      if (model_.SpeciesName(k) == charge(10 * r + 6).Text())
        model_.ChargeReactionSpecies(r, 2) = k;
    }
  }
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 2; ++j) {
      model_.FirstOrderReactionSpecies(i, j) = SpeciesNumber(chem(2 * (i - 1) + j).Text());
    }
    for (int j = 1; j <= 4; ++j) {
      model_.SecondOrderReactionSpecies(i, j) = SpeciesNumber(chem2(4 * (i - 1) + j).Text());
    }
  }
}

// A coefficient is written into an equation only when it sorts after "1" as a string: "2" is
// written, "1" and "0.5" are not.
static std::string Coefficient(const std::string& text) {
  return text > "1" ? text : "";
}

std::string FormMech::ChargeEquation(int r) const {
  int base = 10 * r;
  std::string c3 = Coefficient(charge(base + 3).Text());
  std::string c7 = Coefficient(charge(base + 7).Text());
  if (CheckpH.Checked()) {
    c3 += LabelH(base + 2).Caption();
    c7 = " +" + c7 + LabelH(base + 5).Caption();
  }
  return Coefficient(charge(base + 1).Text()) + charge(base + 2).Text() + " +" + c3 +
         Coefficient(charge(base + 4).Text()) + "e=" + Coefficient(charge(base + 5).Text()) +
         charge(base + 6).Text() + c7;
}

void FormMech::WriteEquationTexts() {
  for (int r = 1; r <= model_.ChargeReactionCount; ++r) {
    model_.ChargeReactionText(r) = ChargeEquation(r);
  }
  for (int i = 1; i <= model_.FirstOrderReactionCount; ++i) {
    model_.ChemReactionText(i) = chem(2 * i - 1).Text() + "=" + chem(2 * i).Text();
  }
  for (int i = 1; i <= model_.SecondOrderReactionCount; ++i) {
    model_.ChemReactionText(model_.FirstOrderReactionCount + i) =
        chem2(4 * i - 3).Text() + " +" + chem2(4 * i - 2).Text() + "=" + chem2(4 * i - 1).Text() +
        " +" + chem2(4 * i).Text();
  }
}

}  // namespace qalto
