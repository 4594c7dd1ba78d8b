#include "controls/menus.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/menu_registry.h"

void __Menu::RegisterItem(UINT id, ItemObject object) {
  if (object == nullptr) return;
  ReplaceItemText(id, object->Caption());
  RedrawOwnerMenuBar();
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
  if (it != entries_.end()) {
    it->object = std::move(object);
  } else {
    entries_.push_back({id, std::move(object), nullptr});
  }
}

void __Menu::RegisterItem(UINT id, ItemObject object, HMENU parent, int position) {
  HMENU popup = parent != nullptr ? ::GetSubMenu(parent, position) : nullptr;
  // Without a submenu there is nothing to register: a popup item needs one.
  if (popup == nullptr || object == nullptr) return;
  RegisterMenu(popup, this);
  MakePopupItem(parent, static_cast<UINT>(position), popup, object->Caption());
  entries_.push_back({id, std::move(object), popup});
}

HMENU __Menu::GetSubMenuHandle(UINT id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return e.popup;
  }
  return nullptr;
}

const MenuItemObject* __Menu::RegisteredObject(UINT id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return e.object.get();
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

namespace {
// The plain name of a class, without namespaces or enclosing functions.
std::string ClassNameOf(const std::type_info& type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled != nullptr ? demangled : type.name();
  std::free(demangled);
  // "ns::Outer<a::b>::Name": the last part outside template arguments.
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '<') ++depth;
    if (name[i] == '>') --depth;
    if (depth == 0 && name.compare(i, 2, "::") == 0) start = i + 2;
  }
  return name.substr(start);
}
}  // namespace

bool _ContextMenu::Init(HMENU existing) {
  const bool made = __Menu::Init(existing);
  NameSym(ClassNameOf(typeid(*this)));
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
