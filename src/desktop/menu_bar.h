#pragma once
// The main window's menus, built from the application's menu tree: the captions keep their
// access keys, separators stay where they are, submenus become Qt submenus, and every item and
// menu is enabled exactly when the tree says so.

#include <QAction>
#include <QMenuBar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/menu.h"

namespace qalto {

class MenuBar {
 public:
  // choose runs when the user picks an item; it gets the item's handler and caption.
  MenuBar(QMenuBar* bar, const std::vector<MenuItem>& menus,
          std::function<void(const std::string& handler, const std::string& caption)> choose);

  // Enables the items and menus as the tree says.
  void Sync(const std::vector<MenuItem>& menus);
  // The action of an item, or of a menu's title ("mnuDisplay"); nullptr for an unknown one.
  QAction* Action(const std::string& handler) const;

 private:
  void AddItems(QMenu* menu, const std::vector<MenuItem>& items);
  void SyncItems(const std::vector<MenuItem>& items);

  std::function<void(const std::string&, const std::string&)> choose_;
  std::map<std::string, QAction*> actions_;
};

}  // namespace qalto
