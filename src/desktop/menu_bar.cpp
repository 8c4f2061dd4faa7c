#include "desktop/menu_bar.h"

#include <QMenu>

namespace qalto {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), text.size());
}

}  // namespace

MenuBar::MenuBar(QMenuBar* bar, const std::vector<MenuItem>& menus,
                 std::function<void(const std::string&, const std::string&)> choose)
    : choose_(std::move(choose)) {
  for (const MenuItem& menu : menus) {
    QMenu* qmenu = bar->addMenu(FromUtf8(menu.caption));
    qmenu->setObjectName(FromUtf8(menu.handler));
    actions_[menu.handler] = qmenu->menuAction();
    AddItems(qmenu, menu.items);
  }
  Sync(menus);
}

void MenuBar::AddItems(QMenu* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (item.IsSeparator()) {
      menu->addSeparator();
    } else if (!item.items.empty()) {
      QMenu* submenu = menu->addMenu(FromUtf8(item.caption));
      submenu->setObjectName(FromUtf8(item.handler));
      actions_[item.handler] = submenu->menuAction();
      AddItems(submenu, item.items);
    } else {
      QAction* action = menu->addAction(FromUtf8(item.caption));
      action->setObjectName(FromUtf8(item.handler));
      std::string handler = item.handler;
      std::string caption = item.caption;
      QObject::connect(action, &QAction::triggered, action,
                       [this, handler, caption] { choose_(handler, caption); });
      actions_[item.handler] = action;
    }
  }
}

void MenuBar::Sync(const std::vector<MenuItem>& menus) {
  SyncItems(menus);
}

void MenuBar::SyncItems(const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (item.IsSeparator()) continue;
    if (QAction* action = Action(item.handler)) action->setEnabled(item.enabled);
    SyncItems(item.items);
  }
}

QAction* MenuBar::Action(const std::string& handler) const {
  auto found = actions_.find(handler);
  return found == actions_.end() ? nullptr : found->second;
}

}  // namespace qalto
