#include "controls/menus.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "platform/menu_registry.h"

void __Menu::RegisterItem(UINT id, const MenuItemObject& object) {
  ReplaceItemText(id, object.Caption());
  RedrawOwnerMenuBar();
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
  if (it != entries_.end()) {
    it->object = &object;
  } else {
    entries_.push_back({id, &object, nullptr});
  }
}

void __Menu::RegisterItem(UINT id, const MenuItemObject& object, HMENU parent, int position) {
  HMENU popup = parent != nullptr ? ::GetSubMenu(parent, position) : nullptr;
  // Without a submenu there is nothing to register: a popup item needs one.
  if (popup == nullptr) return;
  RegisterMenu(popup, this);
  MakePopupItem(parent, static_cast<UINT>(position), popup, object.Caption());
  entries_.push_back({id, &object, popup});
}

HMENU __Menu::GetSubMenuHandle(UINT id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return e.popup;
  }
  return nullptr;
}

const MenuItemObject* __Menu::RegisteredObject(UINT id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return e.object;
  }
  return nullptr;
}

size_t __Menu::RegisteredCount(UINT id) const {
  return static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; }));
}

void __Menu::DeleteSubMenu(UINT id, HWND window) {
  HMENU popup = GetSubMenuHandle(id);
  if (popup == nullptr || Handle() == nullptr) return;
  bool removed = false;
  // Zero-based for both calls; a removal moves the next item up to i.
  for (int i = 0; i < GetMenuItemCount(Handle());) {
    if (GetSubMenu(i) == popup) {
      // RemoveMenu, not DeleteMenu: the popup is destroyed once, below, not
      // again for a second position that still names it.
      RemoveMenu(Handle(), static_cast<UINT>(i), MF_BYPOSITION);
      if (window != nullptr) DrawMenuBar(window);
      removed = true;
    } else {
      ++i;
    }
  }
  if (removed) {
    if (MenuFromHandle(popup) == this) UnregisterMenu(popup);
    ForgetSubMenu(popup);
    DestroyMenu(popup);
  }
}

bool _ContextMenu::Init(HMENU existing) {
  const bool made = __Menu::Init(existing);
  name_ = ClassSymbol();
  return made;
}

const std::string& _ContextMenu::NameSym(const std::string& symbol) {
  name_ = symbol;
  for (char& c : name_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name_;
}

bool LVMenuEmpty::Init(HMENU existing) {
  if (!_ContextMenu::Init(existing)) return false;
  NameSym("LVMENU1");
  auto popup = std::make_unique<_ContextMenu>();
  if (!popup->Init()) return false;
  return AppendItem(std::move(popup), "LVMenu1") != nullptr;
}
