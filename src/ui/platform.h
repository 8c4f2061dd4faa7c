#pragma once
// What the program needs from the machine it runs on: message boxes, file dialogs, the busy
// pointer, the time of day, starting the web browser, and the clipboard and printer for the
// plot picture. The desktop window and the script runner each provide one; tests use the
// recording platform.

#include <optional>
#include <string>
#include <vector>

#include "drawing/recording_surface.h"

namespace qalto {

class Platform {
 public:
  virtual ~Platform() = default;

  // A message box with only an OK button; returns when it is acknowledged.
  virtual void MessageBox(const std::string& text) = 0;
  // A question with the buttons Yes and No; true for Yes.
  virtual bool Confirm(const std::string& question) = 0;
  // A file dialog; the chosen path, or nothing when cancelled. filter is the dialog's filter
  // list ("Data (*.txt)|*.txt|All (*.*)|*.*").
  virtual std::optional<std::string> OpenFileDialog(const std::string& filter) = 0;
  virtual std::optional<std::string> SaveFileDialog(const std::string& filter) = 0;
  // Seconds since midnight, with fractions.
  virtual double TimeOfDay() = 0;
  virtual void SetBusy(bool busy) = 0;
  // Opens the address (a web page or a local document) in the web browser.
  virtual void OpenBrowser(const std::string& address) = 0;
  // Empties the clipboard and puts the drawing on it as a picture.
  virtual void CopyPicture(const RecordingSurface& picture) = 0;
  // Prints the drawing, as the plot window shows it, on the default printer.
  virtual void PrintPicture(const RecordingSurface& picture) = 0;
};

}  // namespace qalto
