#pragma once
// The Techniques window: which voltammetric technique the simulation models. Closing it through
// the window frame hides it with the option chosen, as every input form does.

#include "model/model.h"
#include "ui/form.h"

namespace qalto {

class FormTech : public Form {
 public:
  explicit FormTech(Model& model);

  // Stores the index of the first selected option into Technique.
  void OK();
  void CmdOK_Click();

  Frame Frame3{"Frame3"};
  ControlArray<OptionButton> optTech;
  Button CmdOK{"CmdOK"};

 private:
  Model& model_;
  OptionGroup techniques_;
};

}  // namespace qalto
