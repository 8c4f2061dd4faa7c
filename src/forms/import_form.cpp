#include "forms/import_form.h"

#include "files/import_data.h"

namespace qalto {
namespace {

void ChooseText(ComboBox& combo, const std::vector<std::string>& items, const std::string& text) {
  combo.SetItems(items);
  if (!combo.SelectText(text)) combo.SetListIndex(items.empty() ? -1 : 0);
}

}  // namespace

FormImport::FormImport() : Form("FormImport", "Import") {
  lblFormat.SetGrid(0, 0);
  lblCurves.SetGrid(1, 0);
  ComboCycle.SetGrid(2, 0);
  lblPotential.SetGrid(3, 0);
  lblPotential.SetCaption("Potential column");
  ComboPotential.SetGrid(4, 0);
  lblCurrent.SetGrid(5, 0);
  lblCurrent.SetCaption("Current column");
  ComboCurrent.SetGrid(6, 0);
  cmdOK.SetGrid(7, 0);
  cmdOK.SetCaption("OK");
  cmdOK.onClick = [this] { Hide(); };
  ComboCycle.onClick = [this] {
    if (!filling_ && choiceChanged) choiceChanged();
  };
  for (ComboBox* combo : {&ComboPotential, &ComboCurrent}) {
    combo->onClick = [this] {
      if (!filling_ && columnsChanged) columnsChanged();
    };
  }
  for (Control* c :
       std::initializer_list<Control*>{&lblFormat, &lblCurves, &ComboCycle, &lblPotential,
                                       &ComboPotential, &lblCurrent, &ComboCurrent, &cmdOK}) {
    Add(*c);
  }
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
  if (file.curves.size() > 1) items.push_back(kWholeMeasurement);
  firstHistoryItem_ = static_cast<int>(items.size());
  historyCycles_.clear();
  for (size_t c = 0; c < file.curves.size(); ++c) {
    if (!OffersHistory(file, c)) continue;
    items.push_back(AfterEarlierName(file.curves[c].label));
    historyCycles_.push_back(static_cast<int>(c) + 1);
  }
  lblCurves.SetCaption(counts);
  curveCount_ = static_cast<int>(file.curves.size());
  filling_ = true;
  ComboCycle.SetItems(items);
  ComboCycle.SetListIndex(0);
  ChooseText(ComboPotential, file.columns, file.potentialColumn);
  ChooseText(ComboCurrent, file.columns, file.currentColumn);
  filling_ = false;
}

void FormImport::ShowChoice(int cycleIndex, const ColumnChoice& columns) {
  filling_ = true;
  if (cycleIndex >= -1 && cycleIndex < static_cast<int>(ComboCycle.Items().size()))
    ComboCycle.SetListIndex(cycleIndex);
  ComboPotential.SelectText(columns.potential);
  ComboCurrent.SelectText(columns.current);
  filling_ = false;
}

int FormImport::Choice() const {
  int index = ComboCycle.ListIndex();
  if (ComboCycle.Text() == kWholeMeasurement) return kWholeMeasurementChoice;
  const int history = index - firstHistoryItem_;
  if (history >= 0 && history < static_cast<int>(historyCycles_.size()))
    return HistoryChoice(historyCycles_[static_cast<size_t>(history)]);
  return index >= 0 && index < curveCount_ ? index + 1 : 0;
}

ColumnChoice FormImport::Columns() const {
  return {ComboPotential.Text(), ComboCurrent.Text()};
}

}  // namespace qalto
