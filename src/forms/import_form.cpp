#include "forms/import_form.h"

#include "files/import_data.h"

namespace qalto {

FormImport::FormImport() : Form("FormImport", "Import") {
  lblFormat.SetGrid(0, 0);
  lblCurves.SetGrid(1, 0);
  ComboCycle.SetGrid(2, 0);
  cmdOK.SetGrid(3, 0);
  cmdOK.SetCaption("OK");
  cmdOK.onClick = [this] { Hide(); };
  ComboCycle.onClick = [this] {
    if (!filling_ && choiceChanged) choiceChanged();
  };
  Add(lblFormat);
  Add(lblCurves);
  Add(ComboCycle);
  Add(cmdOK);
}

void FormImport::ShowFile(const ImportedFile& file) {
  std::string format = file.format;
  if (!file.technique.empty()) format += ": " + file.technique;
  lblFormat.SetCaption(format);
  std::vector<std::string> items;
  std::string counts;
  for (const ImportedCurve& curve : file.curves) {
    items.push_back(curve.label);
    counts += (counts.empty() ? "" : ", ") + curve.label + " " +
              std::to_string(curve.potential.size()) + " points";
  }
  items.push_back(kAllCurves);
  lblCurves.SetCaption(counts);
  curveCount_ = static_cast<int>(file.curves.size());
  filling_ = true;
  ComboCycle.SetItems(items);
  ComboCycle.SetListIndex(0);
  filling_ = false;
}

int FormImport::Choice() const {
  int index = ComboCycle.ListIndex();
  return index >= 0 && index < curveCount_ ? index + 1 : 0;
}

}  // namespace qalto
