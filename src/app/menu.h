#pragma once
// The menu tree of the main window, as data: captions with access keys ("&"), separators ("-"),
// the command each item runs under its handler's name and whether it is enabled.

#include <functional>
#include <string>
#include <vector>

namespace qalto {

struct MenuItem {
  std::string caption;
  std::string handler;  // "mnuSimulate_Click"; a menu or submenu has its name ("mnuDisplay")
  bool enabled = true;
  std::vector<MenuItem> items;
  std::function<void()> action;  // empty for menus, separators and commands not built
  bool long_running = false;     // the window runs it off its thread, with progress and Cancel

  bool IsSeparator() const { return caption == "-"; }
  // The caption as it reads, without its access-key marks ("Auto Fit" for "&Auto Fit").
  std::string PlainCaption() const;
};

// The item with that handler or name, and the chain of menus above it (outermost first).
MenuItem* FindMenuItem(std::vector<MenuItem>& menus, const std::string& handler,
                       std::vector<MenuItem*>* parents = nullptr);

}  // namespace qalto
