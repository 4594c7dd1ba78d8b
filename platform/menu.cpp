#include "platform/menu.h"

#include <algorithm>
#include <cctype>

#include "platform/menu_registry.h"

namespace {
std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

constexpr int kRestructureLast = 50;  // positions 0..50 are looked at
}  // namespace

Menu::~Menu() { Release(); }

void Menu::Release() {
  UnregisterMenusOf(this);
  // Submenus die with this handle; their objects only forget their links.
  children_.clear();
  if (owned_ && handle_ != nullptr) DestroyMenu(handle_);
  handle_ = nullptr;
  owned_ = false;
  systemMenu_ = false;
  entries_.clear();
  commands_.clear();
}

bool Menu::Init(HMENU existing) {
  Release();
  handle_ = existing != nullptr ? existing : CreatePopupMenu();
  if (handle_ == nullptr) return false;
  owned_ = true;
  RegisterMenu(handle_, this);
  return true;
}

bool Menu::InitBar() {
  HMENU bar = CreateMenu();
  return bar != nullptr && Init(bar);
}

bool Menu::InitSystemMenu(HWND window) {
  Release();
  handle_ = GetSystemMenu(window, FALSE);
  if (handle_ == nullptr) return false;
  systemMenu_ = true;
  owner_ = window;
  RegisterMenu(handle_, this);
  return true;
}

bool Menu::SetAsWindowMenu(HWND window) {
  if (handle_ == nullptr || systemMenu_ || !SetMenu(window, handle_)) return false;
  owned_ = false;  // DestroyWindow destroys a window's menu
  owner_ = window;
  return true;
}

HMENU Menu::GetSubMenu(int position) const {
  return handle_ != nullptr ? ::GetSubMenu(handle_, position) : nullptr;
}

int Menu::ItemCount() const { return handle_ != nullptr ? GetMenuItemCount(handle_) : 0; }

bool Menu::AppendItem(UINT id, const std::string& text, const std::string& symbol, std::function<void()> handler) {
  if (handle_ == nullptr || !AppendMenuA(handle_, MF_STRING, id, text.c_str())) return false;
  auto it = std::find_if(commands_.begin(), commands_.end(), [&](const CommandInfo& c) { return c.id == id; });
  if (it != commands_.end()) {
    *it = {id, Upper(symbol), std::move(handler)};
  } else {
    commands_.push_back({id, Upper(symbol), std::move(handler)});
  }
  return true;
}

Menu* Menu::AppendItem(std::unique_ptr<Menu> popup, const std::string& text) {
  if (handle_ == nullptr || popup == nullptr) return nullptr;
  if (popup->handle_ == nullptr && !popup->Init()) return nullptr;
  if (!AppendMenuA(handle_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup->handle_), text.c_str())) {
    return nullptr;
  }
  popup->owned_ = false;  // destroyed with this menu's handle
  children_.push_back(std::move(popup));
  return children_.back().get();
}

Menu* Menu::AppendPopup(const std::string& text) { return AppendItem(std::make_unique<Menu>(), text); }

bool Menu::AppendSeparator() { return handle_ != nullptr && AppendMenuA(handle_, MF_SEPARATOR, 0, nullptr); }

void Menu::UnregisterItem(UINT id) {
  for (const Entry& entry : entries_) {
    if (entry.id == id && entry.popup != nullptr && MenuFromHandle(entry.popup) == this) UnregisterMenu(entry.popup);
  }
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; }),
                 entries_.end());
  commands_.erase(std::remove_if(commands_.begin(), commands_.end(), [&](const CommandInfo& c) { return c.id == id; }),
                  commands_.end());
}

bool Menu::DeleteItem(UINT id) { return handle_ != nullptr && DeleteMenu(handle_, id, MF_BYCOMMAND); }

bool Menu::EnableItem(UINT id) {
  return handle_ != nullptr && EnableMenuItem(handle_, id, MF_BYCOMMAND | MF_ENABLED) != -1;
}

bool Menu::DisableItem(UINT id) {
  return handle_ != nullptr && EnableMenuItem(handle_, id, MF_BYCOMMAND | MF_GRAYED) != -1;
}

void Menu::EnDisableItem(UINT id, bool enable) {
  if (enable) {
    EnableItem(id);
  } else {
    DisableItem(id);
  }
}

void Menu::ClearItem(UINT id) {
  UnregisterItem(id);
  DeleteItem(id);
}

bool Menu::CheckItem(UINT id, bool checked) {
  return handle_ != nullptr &&
         CheckMenuItem(handle_, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
}

bool Menu::IsChecked(UINT id) const {
  if (handle_ == nullptr) return false;
  const UINT state = GetMenuState(handle_, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

bool Menu::IsItemEnabled(UINT id) const {
  if (handle_ == nullptr) return false;
  const UINT state = GetMenuState(handle_, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool Menu::DefaultItem(UINT id) { return handle_ != nullptr && SetMenuDefaultItem(handle_, id, FALSE); }

std::string Menu::ItemText(UINT id) const {
  if (handle_ == nullptr) return {};
  const int length = GetMenuStringA(handle_, id, nullptr, 0, MF_BYCOMMAND);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetMenuStringA(handle_, id, text.data(), length + 1, MF_BYCOMMAND);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

bool Menu::ItemText(UINT id, const std::string& text) { return ReplaceItemText(id, text); }

const Menu::CommandInfo* Menu::FindCommand(UINT id) const {
  for (const CommandInfo& c : commands_) {
    if (c.id == id) return &c;
  }
  for (const auto& child : children_) {
    if (const CommandInfo* c = child->FindCommand(id)) return c;
  }
  return nullptr;
}

std::string Menu::SymbolOf(UINT id) const {
  const CommandInfo* c = FindCommand(id);
  return c != nullptr ? c->symbol : std::string();
}

UINT Menu::IdOf(const std::string& symbol) const {
  const std::string wanted = Upper(symbol);
  if (wanted.empty()) return 0;
  for (const CommandInfo& c : commands_) {
    if (c.symbol == wanted) return c.id;
  }
  for (const auto& child : children_) {
    if (UINT id = child->IdOf(wanted)) return id;
  }
  return 0;
}

SeparatorCheck Menu::CheckSeparator(HMENU menu, UINT position) {
  char text[128] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  info.dwTypeData = text;
  info.cch = sizeof text;
  if (menu == nullptr || !GetMenuItemInfoA(menu, position, TRUE, &info)) return {};
  return {true, info.fType == MFT_SEPARATOR};
}

UINT Menu::GetMenuItemID(UINT position) const {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  if (handle_ == nullptr || !GetMenuItemInfoA(handle_, position, TRUE, &info)) return 0;
  return info.wID;
}

void Menu::Restructure(HMENU menu, HWND window) {
  if (menu == nullptr) return;
  bool separatorBelow = false;
  bool onlySeparatorsBelow = true;
  // Bottom up, so a removal never moves an item still to be looked at.
  for (int p = kRestructureLast; p >= 0; --p) {
    const SeparatorCheck item = CheckSeparator(menu, static_cast<UINT>(p));
    if (!item.exists) continue;
    if (item.separator) {
      if (p == 0 || separatorBelow || onlySeparatorsBelow) RemoveMenu(menu, static_cast<UINT>(p), MF_BYPOSITION);
      separatorBelow = true;
    } else {
      separatorBelow = false;
      onlySeparatorsBelow = false;
    }
  }
  if (window != nullptr) DrawMenuBar(window);
  if (CheckSeparator(menu, 0).separator) {
    RemoveMenu(menu, 0, MF_BYPOSITION);
    if (window != nullptr) DrawMenuBar(window);
  }
}

UINT Menu::Track(HWND owner, const POINT* at, UINT flags) {
  if (handle_ == nullptr) return 0;
  POINT point{};
  if (at != nullptr) {
    point = *at;
  } else {
    GetCursorPos(&point);
  }
  owner_ = owner;
  // A notification-area menu closes on a click elsewhere only when its owner
  // is the foreground window, and needs a message after it to close cleanly.
  SetForegroundWindow(owner);
  const UINT id = static_cast<UINT>(
      TrackPopupMenu(handle_, (flags & ~TPM_NONOTIFY) | TPM_RETURNCMD, point.x, point.y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (id != 0) Command(id);
  return id;
}

bool Menu::Command(UINT id) {
  const CommandInfo* c = FindCommand(id);
  if (c == nullptr || !c->handler) return false;
  // The handler may destroy this menu; run a copy.
  const std::function<void()> handler = c->handler;
  handler();
  return true;
}

void Menu::InitPopup(HMENU popup) {
  if (onOpen_) onOpen_(*this, popup);
}

void Menu::OwnerDestroyed() {
  if (owned_) return;
  UnregisterMenusOf(this);
  children_.clear();
  handle_ = nullptr;
  systemMenu_ = false;
}

bool Menu::ReplaceItemText(UINT id, const std::string& text) {
  if (handle_ == nullptr) return false;
  char buffer[128] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  info.dwTypeData = buffer;
  info.cch = sizeof buffer;
  if (!GetMenuItemInfoA(handle_, id, FALSE, &info)) return false;
  // MIIM_TYPE writes type and text together: the type read above stays.
  info.fMask = MIIM_TYPE;
  info.dwTypeData = const_cast<char*>(text.c_str());
  info.cch = static_cast<UINT>(text.size());
  return SetMenuItemInfoA(handle_, id, FALSE, &info) != FALSE;
}

bool Menu::MakePopupItem(HMENU parent, UINT position, HMENU popup, const std::string& text) {
  // Not ModifyMenu: on Windows it destroys the submenu it replaces, and here
  // the submenu stays the same one.
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_SUBMENU;
  info.hSubMenu = popup;
  info.dwTypeData = const_cast<char*>(text.c_str());
  info.cch = static_cast<UINT>(text.size());
  return SetMenuItemInfoA(parent, position, TRUE, &info) != FALSE;
}

void Menu::ForgetSubMenu(HMENU popup) {
  for (auto& child : children_) {
    if (child->handle_ == popup) child->handle_ = nullptr;
  }
  children_.erase(std::remove_if(children_.begin(), children_.end(), [](const auto& c) { return c->handle_ == nullptr; }),
                  children_.end());
}

void Menu::RedrawOwnerMenuBar() const {
  if (owner_ != nullptr && !systemMenu_) DrawMenuBar(owner_);
}
