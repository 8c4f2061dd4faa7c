#pragma once
// A platform without windows: message boxes are recorded (and passed to an optional sink), file
// dialogs are answered from a queue, the clock is set by hand or read from the real clock,
// pictures for the clipboard and printer are kept.

#include <deque>
#include <functional>

#include "ui/platform.h"

namespace qalto {

class RecordingPlatform : public Platform {
 public:
  void MessageBox(const std::string& text) override;
  // The answer queued for it, else Yes: a script is its user's deliberate action.
  bool Confirm(const std::string& question) override;
  std::optional<std::string> OpenFileDialog(const std::string& filter) override;
  std::optional<std::string> SaveFileDialog(const std::string& filter) override;
  double TimeOfDay() override;
  void SetBusy(bool busy) override;
  void OpenBrowser(const std::string& address) override;
  void CopyPicture(const RecordingSurface& picture) override;
  void PrintPicture(const RecordingSurface& picture) override;

  // The next file dialog returns this answer (nothing: cancelled).
  void QueueDialogAnswer(std::optional<std::string> answer) {
    answers_.push_back(std::move(answer));
  }
  bool HasDialogAnswer() const { return !answers_.empty(); }
  // The next question is answered so.
  void QueueConfirmAnswer(bool yes) { confirmAnswers_.push_back(yes); }
  bool HasConfirmAnswer() const { return !confirmAnswers_.empty(); }
  // Forgets the answers no dialog or question has taken: an answer is given for one command.
  void DropAnswers() {
    answers_.clear();
    confirmAnswers_.clear();
  }
  // A fixed clock; without one the real time of day is used.
  void SetClock(double seconds) { clock_ = seconds; }

  std::vector<std::string> messages;  // every message box shown, in order
  std::vector<std::string> dialogFilters;
  std::vector<std::string> browserAddresses;
  std::vector<bool> busyChanges;
  // The display lists the clipboard and the printer were given, in order.
  std::vector<std::vector<DisplayItem>> copiedPictures;
  std::vector<std::vector<DisplayItem>> printedPictures;
  std::function<void(const std::string&)> messageSink;
  std::vector<std::string> questions;  // every question asked, in order
  std::function<void(const std::string& question, bool answer)> questionSink;

 private:
  std::optional<std::string> NextAnswer(const std::string& filter);
  std::deque<std::optional<std::string>> answers_;
  std::deque<bool> confirmAnswers_;
  std::optional<double> clock_;
};

}  // namespace qalto
