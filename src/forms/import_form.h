#pragma once
// The Import window: what the import recognised in the file read last (its format and
// technique, its curves with their points), the choice of the curve that goes into the curve
// store (one cycle, segment or scan, or all of them overlaid) and of the columns the
// potential and the current are read from.

#include <functional>
#include <string>
#include <vector>

#include "files/column_heading.h"
#include "files/imported_curve.h"
#include "ui/form.h"

namespace qalto {

class FormImport : public Form {
 public:
  FormImport();

  // Lists the file's curves, "all cycles" last, with the first chosen, and its columns with
  // the recognised ones chosen (quietly: the import has put the curve into the store already).
  void ShowFile(const ImportedFile& file);
  // Chooses the curve by its place in the list and the columns by heading, quietly (a session
  // brings back the choice together with the curves it put into the store); an entry that is
  // not in its list leaves that list as it is.
  void ShowChoice(int cycleIndex, const ColumnChoice& columns);
  // The chosen curve, 1 for the first, 0 for all of them overlaid, kWholeMeasurementChoice or
  // HistoryChoice(k) for cycle k after the cycles before it.
  int Choice() const;
  // The chosen potential and current columns by heading; empty for a file without headings.
  ColumnChoice Columns() const;

  // The user picks another curve; the App puts it into the store.
  std::function<void()> choiceChanged;
  // The user picks another potential or current column; the App reads the file again.
  std::function<void()> columnsChanged;

  Label lblFormat{"lblFormat"};
  Label lblCurves{"lblCurves"};
  ComboBox ComboCycle{"ComboCycle"};
  Label lblPotential{"lblPotential"};
  ComboBox ComboPotential{"ComboPotential"};
  Label lblCurrent{"lblCurrent"};
  ComboBox ComboCurrent{"ComboCurrent"};
  Button cmdOK{"cmdOK"};

 private:
  int curveCount_ = 0;
  // The item of the first cycle offered after the cycles before it, and the cycles so offered.
  int firstHistoryItem_ = 0;
  std::vector<int> historyCycles_;
  bool filling_ = false;
};

}  // namespace qalto
