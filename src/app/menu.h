#pragma once
// The menu tree of the main window, as data: captions with access keys ("&"), separators ("-"),
// the handler each item runs and whether it is enabled.

#include <string>
#include <vector>

namespace qalto {

struct MenuItem {
  std::string caption;
  std::string handler;  // "mnuSimulate_Click"; a menu or submenu has its name ("mnuDisplay")
  bool enabled = true;
  std::vector<MenuItem> items;

  bool IsSeparator() const { return caption == "-"; }
};

// The menus of the bar, in display order, as they are at start: "&Display" and "&Analyze"
// disabled, every other item enabled.
std::vector<MenuItem> BuildMenuTree();

// The item with that handler or name, and the chain of menus above it (outermost first).
MenuItem* FindMenuItem(std::vector<MenuItem>& menus, const std::string& handler,
                       std::vector<MenuItem*>* parents = nullptr);

}  // namespace qalto
