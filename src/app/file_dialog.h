#pragma once
// The file dialog of the result window, shared by import, export and the parameter report. It
// remembers the file name chosen last, as the dialog shows it again the next time it opens.

#include <optional>
#include <string>

#include "ui/platform.h"

namespace qalto {

inline constexpr const char* kDataFileFilter = "csv|*.csv|all|*.*";
// The Open dialog of Import Data: every kind of measurement file the import reads (it tells
// them apart by their content), then each instrument's own, then every file.
inline constexpr const char* kImportFileFilter =
    "measurement data (*.csv;*.txt;*.mpt;*.dta;*.pssession)|"
    "*.csv;*.txt;*.mpt;*.MPT;*.dta;*.DTA;*.pssession|"
    "csv|*.csv|"
    "CH Instruments text (*.txt)|*.txt|"
    "EC-Lab text (*.mpt)|*.mpt;*.MPT|"
    "Gamry (*.dta)|*.dta;*.DTA|"
    "PalmSens session (*.pssession)|*.pssession|"
    "all|*.*";
// Load Potential Program: two columns, t (s) and E (V).
inline constexpr const char* kProgramFileFilter =
    "potential program (*.csv;*.txt)|*.csv;*.txt|all|*.*";
inline constexpr const char* kParameterFileFilter = "parameter (*.par)|*.par|all|*.*";

class FileDialog {
 public:
  // The Open dialog: the chosen name. A cancel keeps the name chosen last (empty when there
  // was none), so the file read last is read again.
  std::string ShowOpen(Platform& platform, const std::string& filter);
  // The Save dialog: the chosen name, or nothing when cancelled; a cancel must never write
  // to the file chosen last.
  std::optional<std::string> ShowSave(Platform& platform, const std::string& filter);

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};

}  // namespace qalto
