#include "forms/technique_form.h"

namespace qalto {
namespace {

constexpr const char* kTechniqueCaptions[] = {
    "1)  Linear sweep and cyclic voltammetry",
    "2)  DC voltammetry",
    "3)  Normal pulse voltammetry",
    "4)  Differential pulse voltammetry",
    "5)  Square wave voltammetry",
    "6)  Addition square wave voltammetry",
};

}  // namespace

FormTech::FormTech(Model& model) : Form("FormTech", "Techniques"), model_(model) {
  Frame3.SetCaption("Voltammetry");
  Add(Frame3);
  for (int i = 1; i <= 6; ++i) {
    OptionButton& option = optTech.Add("optTech", i);
    option.SetCaption(kTechniqueCaptions[i - 1]);
    techniques_.Add(option);
    Add(option, "Frame3");
  }
  optTech(1).InitSelected(true);
  CmdOK.SetCaption("OK");
  CmdOK.onClick = [this] { CmdOK_Click(); };
  Add(CmdOK);
}

void FormTech::OK() {
  for (int i = 1; i <= 6; ++i) {
    if (optTech(i).Selected()) {
      model_.Technique = TechniqueNumbered(i);
      return;
    }
  }
}

void FormTech::CmdOK_Click() {
  OK();
  Hide();
}

}  // namespace qalto
