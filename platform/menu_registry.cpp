#include "platform/menu_registry.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/menu.h"

namespace {
// Few menus live at once; a flat list keeps this simple.
std::vector<std::pair<HMENU, Menu*>>& Links() {
  static std::vector<std::pair<HMENU, Menu*>> links;
  return links;
}
// The menu whose popup a window opened last: WM_COMMAND of a popup tracked
// without TPM_RETURNCMD names only the item, not the popup.
std::vector<std::pair<HWND, Menu*>>& LastOpened() {
  static std::vector<std::pair<HWND, Menu*>> opened;
  return opened;
}

bool RunIn(Menu* menu, UINT id, std::vector<Menu*>& tried) {
  if (menu == nullptr || std::find(tried.begin(), tried.end(), menu) != tried.end()) return false;
  tried.push_back(menu);
  return menu->Command(id);
}
}  // namespace

void RegisterMenu(HMENU handle, Menu* menu) {
  if (handle == nullptr || menu == nullptr) return;
  for (auto& link : Links()) {
    if (link.first == handle) {
      link.second = menu;
      return;
    }
  }
  Links().emplace_back(handle, menu);
}

void UnregisterMenu(HMENU handle) {
  auto& links = Links();
  links.erase(std::remove_if(links.begin(), links.end(), [&](const auto& l) { return l.first == handle; }),
              links.end());
}

void UnregisterMenusOf(const Menu* menu) {
  auto& links = Links();
  links.erase(std::remove_if(links.begin(), links.end(), [&](const auto& l) { return l.second == menu; }),
              links.end());
  auto& opened = LastOpened();
  opened.erase(std::remove_if(opened.begin(), opened.end(), [&](const auto& o) { return o.second == menu; }),
               opened.end());
}

Menu* MenuFromHandle(HMENU handle) {
  if (handle == nullptr) return nullptr;
  for (const auto& link : Links()) {
    if (link.first == handle) return link.second;
  }
  return nullptr;
}

bool RouteMenuMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENUPOPUP: {
      HMENU popup = reinterpret_cast<HMENU>(wParam);
      Menu* menu = MenuFromHandle(popup);
      if (menu == nullptr) return false;
      auto& opened = LastOpened();
      auto it = std::find_if(opened.begin(), opened.end(), [&](const auto& o) { return o.first == window; });
      if (it != opened.end()) {
        it->second = menu;
      } else {
        opened.emplace_back(window, menu);
      }
      menu->InitPopup(popup);
      return false;  // the window may still want to see it
    }
    case WM_COMMAND: {
      // Only menu commands: controls send a handle, accelerators code 1.
      if (HIWORD(wParam) != 0 || lParam != 0) return false;
      const UINT id = LOWORD(wParam);
      std::vector<Menu*> tried;
      for (const auto& o : LastOpened()) {
        if (o.first == window && RunIn(o.second, id, tried)) return true;
      }
      // Copy: a handler may create or destroy menus.
      const auto links = Links();
      for (const auto& link : links) {
        Menu* menu = link.second;
        if (!menu->IsSystemMenu() && menu->Owner() == window && RunIn(menu, id, tried)) return true;
      }
      return false;
    }
    case WM_SYSCOMMAND: {
      const UINT id = static_cast<UINT>(wParam & 0xFFF0);
      std::vector<Menu*> tried;
      const auto links = Links();
      for (const auto& link : links) {
        Menu* menu = link.second;
        if (menu->IsSystemMenu() && menu->Owner() == window && RunIn(menu, id, tried)) return true;
      }
      return false;
    }
    case WM_NCDESTROY: {
      auto& opened = LastOpened();
      opened.erase(std::remove_if(opened.begin(), opened.end(), [&](const auto& o) { return o.first == window; }),
                   opened.end());
      std::vector<Menu*> owned;
      for (const auto& link : Links()) {
        if (link.second->Owner() == window) owned.push_back(link.second);
      }
      for (Menu* menu : owned) menu->OwnerDestroyed();
      return false;
    }
    default:
      return false;
  }
}
