#pragma once
// The Import window: what the import recognised in the file read last (its format and
// technique, its curves with their points) and the choice of the curve that goes into the
// curve store, one cycle, segment or scan, or all of them one after the other.

#include <functional>
#include <string>

#include "files/imported_curve.h"
#include "ui/form.h"

namespace qalto {

class FormImport : public Form {
 public:
  FormImport();

  // Lists the file's curves, "all cycles" last, with the first chosen (quietly: the import
  // has put it into the store already).
  void ShowFile(const ImportedFile& file);
  // The chosen curve, 1 for the first, 0 for all of them.
  int Choice() const;

  // The user picks another curve; the App puts it into the store.
  std::function<void()> choiceChanged;

  Label lblFormat{"lblFormat"};
  Label lblCurves{"lblCurves"};
  ComboBox ComboCycle{"ComboCycle"};
  Button cmdOK{"cmdOK"};

 private:
  int curveCount_ = 0;
  bool filling_ = false;
};

}  // namespace qalto
