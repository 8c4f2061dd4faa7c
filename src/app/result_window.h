#pragma once
// The result window: a scrolling text surface that every analysis command prints into. It keeps
// all lines until the Clear command, and where each command's printing begins, so that the
// window can set a heading over every command's report.
//
// A background run prints from its own thread while the window reads: the printing functions
// and Snapshot hold a lock, and the observer may be called on the computing thread.

#include <mutex>
#include <string>
#include <vector>

#include "common/print_line.h"
#include "ui/form.h"

namespace qalto {

class ResultWindow : public Form {
 public:
  ResultWindow() : Form("FormResult", "Result") {}

  // Where a command's printing begins in the text, and the command's name ("Auto Fit").
  struct Section {
    size_t offset = 0;
    std::string heading;
    bool operator==(const Section&) const = default;
  };
  // The text with the command sections, copied together.
  struct Contents {
    std::string text;
    std::vector<Section> sections;
  };

  // Prints the items into the window (and shows it).
  void Print(const std::vector<PrintItem>& items);
  void Clear();
  // The next text printed starts a section under this heading.
  void BeginCommand(const std::string& heading);
  // The text, for one thread only (scripts, tests); Snapshot for a window that may read it
  // while a background run prints.
  const std::string& Text() const { return buffer_.Text(); }
  Contents Snapshot() const;
  // The lines as they stand, and putting them back (a cancelled run takes back what it printed).
  struct Saved {
    PrintBuffer lines;
    std::vector<Section> sections;
  };
  Saved Save() const;
  void Restore(const Saved& saved);

  // Called after the text changes, on the thread that changed it.
  std::function<void()> textObserver;

 private:
  void Notify();

  mutable std::mutex mutex_;
  PrintBuffer buffer_;
  std::vector<Section> sections_;
  std::string pendingHeading_;
};

}  // namespace qalto
