#include "app/result_window.h"

namespace qalto {

void ResultWindow::Print(const std::vector<PrintItem>& items) {
  Show();
  buffer_.Print(items);
  if (textObserver) textObserver();
}

void ResultWindow::Restore(const PrintBuffer& lines) {
  buffer_ = lines;
  if (textObserver) textObserver();
}

void ResultWindow::Clear() {
  buffer_.Clear();
  if (textObserver) textObserver();
}

}  // namespace qalto
