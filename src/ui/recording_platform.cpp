#include "ui/recording_platform.h"

#include <chrono>

namespace qalto {

void RecordingPlatform::MessageBox(const std::string& text) {
  messages.push_back(text);
  if (messageSink) messageSink(text);
}

bool RecordingPlatform::Confirm(const std::string& question) {
  questions.push_back(question);
  bool yes = true;
  if (!confirmAnswers_.empty()) {
    yes = confirmAnswers_.front();
    confirmAnswers_.pop_front();
  }
  if (questionSink) questionSink(question, yes);
  return yes;
}

std::optional<std::string> RecordingPlatform::NextAnswer(const std::string& filter) {
  dialogFilters.push_back(filter);
  if (answers_.empty()) return std::nullopt;  // no answer queued: the user cancels
  std::optional<std::string> answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> RecordingPlatform::OpenFileDialog(const std::string& filter) {
  return NextAnswer(filter);
}

std::optional<std::string> RecordingPlatform::SaveFileDialog(const std::string& filter) {
  return NextAnswer(filter);
}

double RecordingPlatform::TimeOfDay() {
  if (clock_) return *clock_;
  using namespace std::chrono;
  auto now = system_clock::now().time_since_epoch();
  double seconds = duration<double>(now).count();
  return seconds - 86400.0 * static_cast<double>(static_cast<long long>(seconds / 86400.0));
}

void RecordingPlatform::SetBusy(bool busy) {
  busyChanges.push_back(busy);
}

void RecordingPlatform::OpenBrowser(const std::string& address) {
  browserAddresses.push_back(address);
}

void RecordingPlatform::CopyPicture(const RecordingSurface& picture) {
  copiedPictures.push_back(picture.Items());
}

void RecordingPlatform::PrintPicture(const RecordingSurface& picture) {
  printedPictures.push_back(picture.Items());
}

}  // namespace qalto
