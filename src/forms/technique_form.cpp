#include "forms/technique_form.h"

#include "model/experiment_table.h"

namespace qalto {

FormTech::FormTech(Model& model) : Form("FormTech", "Techniques"), model_(model) {
  Frame3.SetCaption("Voltammetry");
  Add(Frame3);
  for (Technique technique : kTechniqueList) {
    const int i = Number(technique);
    OptionButton& option = optTech.Add("optTech", i);
    option.SetCaption(NumberedCaption(i, RowOf(technique).caption));
    techniques_.Add(option);
    Add(option, "Frame3");
  }
  optTech(1).InitSelected(true);
  CmdOK.SetCaption("OK");
  CmdOK.onClick = [this] { CmdOK_Click(); };
  Add(CmdOK);
}

void FormTech::OK() {
  for (Technique technique : kTechniqueList) {
    if (optTech(Number(technique)).Selected()) {
      model_.Technique = technique;
      return;
    }
  }
}

void FormTech::CmdOK_Click() {
  OK();
  Hide();
}

}  // namespace qalto
