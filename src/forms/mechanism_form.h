#pragma once
// The Mechanism window: the chemistry every simulation computes. In analytical mode one of the
// ten fixed mechanisms is picked; in digital mode up to three charge reactions, four first-order
// and four second-order reactions are written with free species names, and the species are
// collected from the names. OK turns the window into the model's reaction tables.

#include <functional>

#include "model/model.h"
#include "ui/form.h"

namespace qalto {

class FormMech : public Form {
 public:
  explicit FormMech(Model& model);

  void OK();
  void Command1_Click();
  void CheckDigital_Click();
  void CheckpH_Click();
  void OptionOH_Click();

  // Runs the Techniques window's OK (creating that window first when needed).
  std::function<void()> applyTechniques;
  // Shows a message box (more reactions or species than the tables hold).
  std::function<void(const std::string&)> showMessage;

  Frame Frame1{"Frame1"};
  ControlArray<OptionButton> mech;
  CheckBox CheckDigital{"CheckDigital"};
  Frame Frame2{"Frame2"};
  Frame Frame3{"Frame3"};
  ControlArray<TextBox> charge;       // 10r+1 .. 10r+7 for rows r = 1..3
  ControlArray<Label> LabelPlus;      // "+" after the oxidized species of row r
  ControlArray<Label> LabelH;         // 10r+2, 10r+4, 10r+5
  ControlArray<Label> LabelElectron;  // " e =" of row r
  CheckBox CheckpH{"CheckpH"};
  OptionButton OptionH{"OptionH"};
  OptionButton OptionOH{"OptionOH"};
  Frame Frame4{"Frame4"};
  ControlArray<TextBox> chem;       // row i: chem(2i-1) = chem(2i)
  ControlArray<Label> LabelChemEq;  // "=" of first-order row i
  Frame Frame5{"Frame5"};
  ControlArray<TextBox> chem2;         // row i: chem2(4i-3) + chem2(4i-2) = chem2(4i-1) + chem2(4i)
  ControlArray<Label> LabelChem2Plus;  // " +" of second-order rows: 2i-1 reactants, 2i products
  ControlArray<Label> LabelChem2Eq;    // "=" of second-order row i
  Button Command1{"Command1"};

 private:
  void BuildMechanismList();
  void BuildChargeRows();
  void BuildChemicalRows();
  void ReadChargeCoefficients();
  void ApplyFixedMechanism();
  void ApplyReactionEditor();
  void CollectSpecies();
  void AddSpecies(const std::string& name);
  void MapSpeciesNumbers();
  void WriteEquationTexts();
  std::string ChargeEquation(int r) const;
  int SpeciesNumber(const std::string& name) const;
  void SetpHControlsVisible(bool visible);

  Model& model_;
  OptionGroup mechanisms_;
  OptionGroup protonKinds_;
};

}  // namespace qalto
