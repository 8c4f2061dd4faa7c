#pragma once
// The Techniques window: which voltammetric technique the simulation models. Closing it through
// the window frame discards it, so that it comes back with option 1 selected.

#include "model/model.h"
#include "ui/form.h"

namespace qalto {

class FormTech : public Form {
 public:
  explicit FormTech(Model& model);

  // Stores the index of the first selected option into Technique.
  void OK();
  void CmdOK_Click();
  CloseBehaviour OnClose() const override { return CloseBehaviour::kDiscard; }

  Frame Frame3{"Frame3"};
  ControlArray<OptionButton> optTech;
  Button CmdOK{"CmdOK"};

 private:
  Model& model_;
  OptionGroup techniques_;
};

}  // namespace qalto
