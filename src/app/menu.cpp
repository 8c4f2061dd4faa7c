#include "app/menu.h"

namespace qalto {

std::string MenuItem::PlainCaption() const {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

MenuItem* FindMenuItem(std::vector<MenuItem>& menus, const std::string& handler,
                       std::vector<MenuItem*>* parents) {
  for (MenuItem& item : menus) {
    if (!item.IsSeparator() && item.handler == handler) return &item;
    if (parents != nullptr) parents->push_back(&item);
    if (MenuItem* found = FindMenuItem(item.items, handler, parents)) return found;
    if (parents != nullptr) parents->pop_back();
  }
  return nullptr;
}

}  // namespace qalto
