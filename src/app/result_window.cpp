#include "app/result_window.h"

namespace qalto {

void ResultWindow::Print(const std::vector<PrintItem>& items) {
  Show();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pendingHeading_.empty()) {
      sections_.push_back({buffer_.Text().size(), pendingHeading_});
      pendingHeading_.clear();
    }
    buffer_.Print(items);
  }
  Notify();
}

void ResultWindow::Clear() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    buffer_.Clear();
    sections_.clear();
  }
  Notify();
}

void ResultWindow::BeginCommand(const std::string& heading) {
  std::lock_guard<std::mutex> lock(mutex_);
  pendingHeading_ = heading;
}

ResultWindow::Contents ResultWindow::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {buffer_.Text(), sections_};
}

ResultWindow::Saved ResultWindow::Save() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {buffer_, sections_};
}

void ResultWindow::Restore(const Saved& saved) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    buffer_ = saved.lines;
    sections_ = saved.sections;
    pendingHeading_.clear();
  }
  Notify();
}

void ResultWindow::Notify() {
  if (textObserver) textObserver();
}

}  // namespace qalto
