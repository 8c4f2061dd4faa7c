#pragma once
// The result window: a scrolling text surface that every analysis command prints into. It keeps
// all lines until the Clear command.

#include <vector>

#include "common/print_line.h"
#include "ui/form.h"

namespace qalto {

class ResultWindow : public Form {
 public:
  ResultWindow() : Form("FormResult", "Result") {}

  // Prints the items into the window (and shows it).
  void Print(const std::vector<PrintItem>& items);
  void Clear();
  const std::string& Text() const { return buffer_.Text(); }
  // The lines as they stand, and putting them back (a cancelled run takes back what it printed).
  const PrintBuffer& Lines() const { return buffer_; }
  void Restore(const PrintBuffer& lines);

  // Called after the text changes.
  std::function<void()> textObserver;

 private:
  PrintBuffer buffer_;
};

}  // namespace qalto
