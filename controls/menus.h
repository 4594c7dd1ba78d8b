#pragma once
// The library's menu classes: a menu that keeps a registry of its items and
// can take a registered popup out again, a context menu with a name, and a
// ready-made context menu with one empty popup.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/menu.h"

class __Menu : public Menu {
 public:
  // The menu shares the item objects it registers, so an entry never
  // outlives its object (a temporary cannot be registered). A null object
  // registers nothing.
  using ItemObject = std::shared_ptr<const MenuItemObject>;
  // A plain item: gives the item with command `id` the object's caption and
  // registers the object for the id (replacing an earlier one).
  void RegisterItem(UINT id, ItemObject object);
  // A popup: the submenu at zero-based `position` of `parent` gets the
  // object's caption and is registered under `id` (appended, even when the id
  // is registered already). Nothing happens when there is no submenu there.
  void RegisterItem(UINT id, ItemObject object, HMENU parent, int position);

  // Popup handle of the first entry registered under `id`; null when none.
  HMENU GetSubMenuHandle(UINT id) const;
  // The object of the first entry registered under `id`; null when none.
  const MenuItemObject* RegisteredObject(UINT id) const;
  size_t RegisteredCount(UINT id) const;

  // Takes the popup registered under `id` out of every position of this menu
  // that holds it, and destroys it; redraws `window`'s menu bar.
  void DeleteSubMenu(UINT id, HWND window);

  HWND OwnerWindow() const { return Owner(); }
  void OwnerWindow(HWND window) { Owner(window); }
};

class _ContextMenu : public __Menu {
 public:
  // The base Init; the name then becomes the upper-case name of the object's
  // own class, so a subclass is named after itself without doing anything.
  bool Init(HMENU existing = nullptr) override;

  const std::string& NameSym() const { return name_; }
  // Symbols are upper-case names.
  const std::string& NameSym(const std::string& symbol);

 private:
  std::string name_;
};

// One empty popup titled "LVMenu1"; named LVMENU1.
class LVMenuEmpty : public _ContextMenu {
 public:
  bool Init(HMENU existing = nullptr) override;
};
