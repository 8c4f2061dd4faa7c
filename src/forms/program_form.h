#pragma once
// The Potential program window (technique 8): a table of segments, one row each, its kind
// chosen in the row's list (hold: E and t; sweep: E from, E to and v; step: E and the t it is
// held, 0 by default), rows without a kind left out; or the E(t) rows of a file read by File >
// Load Potential Program, used while "From file" is checked. Scripts address the rows as
// FormProgram.ComboKind(n), FormProgram.TextE(n), TextEto(n), TextV(n) and TextT(n), n = 1..12.

#include <optional>
#include <string>

#include "model/potential_program.h"
#include "ui/form.h"

namespace qalto {

inline constexpr int kProgramRows = 12;

class FormProgram : public Form {
 public:
  FormProgram();

  // The program the window holds: the file's while "From file" is checked, else the table's
  // rows with a kind, their numbers read as typed.
  PotentialProgram Program() const;
  // The first row whose box needed by its kind holds no number ("Input Error: Potential program:
  // segment 2 (sweep): v (V/s) is "fast", not a number."); nothing when every such box holds one.
  std::optional<std::string> TypingRefusal() const;
  // A program read from a file: kept, shown by name and used ("From file" checked).
  void TakeFile(PotentialProgram file);
  // The file program kept (empty rows when none was read).
  const PotentialProgram& File() const { return file_; }
  // A session's file program (empty rows: none), kept and shown by name; "From file" stays as
  // it is, for the session gives it its value.
  void RestoreFile(PotentialProgram file);
  void ComboKind_Click(int row);
  void CheckFile_Click();

  Label lblKind{"lblKind"};
  Label lblE{"lblE"};
  Label lblEto{"lblEto"};
  Label lblV{"lblV"};
  Label lblT{"lblT"};
  ControlArray<ComboBox> ComboKind;
  ControlArray<TextBox> TextE;
  ControlArray<TextBox> TextEto;
  ControlArray<TextBox> TextV;
  ControlArray<TextBox> TextT;
  CheckBox CheckFile{"CheckFile"};
  Label lblFile{"lblFile"};
  Button cmdOK{"cmdOK"};

 private:
  void ShowFileCaption();
  PotentialProgram file_;
};

}  // namespace qalto
