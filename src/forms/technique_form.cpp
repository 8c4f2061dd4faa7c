#include "forms/technique_form.h"

#include "model/experiment_table.h"

namespace qalto {

FormTech::FormTech(Model& model) : Form("FormTech", "Techniques"), model_(model) {
  Frame3.SetCaption("Voltammetry");
  Add(Frame3);
  for (int i = 1; i <= kTechniqueCount; ++i) {
    OptionButton& option = optTech.Add("optTech", i);
    option.SetCaption(NumberedCaption(i, RowOf(TechniqueNumbered(i)).caption));
    techniques_.Add(option);
    Add(option, "Frame3");
  }
  optTech(1).InitSelected(true);
  CmdOK.SetCaption("OK");
  CmdOK.onClick = [this] { CmdOK_Click(); };
  Add(CmdOK);
}

void FormTech::OK() {
  for (int i = 1; i <= kTechniqueCount; ++i) {
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
