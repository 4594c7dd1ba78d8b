#pragma once
// A Win32 menu owned by one object: popup menus, window menu bars and the
// window's system menu. Items carry a command id, an optional upper-case
// symbol and an optional handler; a window routes WM_INITMENUPOPUP,
// WM_COMMAND and WM_SYSCOMMAND of a registered menu to its object (see
// platform/menu_registry.h), so the handlers run without any code in the
// owner's Dispatch.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Anything that can give a menu item its text.
class MenuItemObject {
 public:
  virtual ~MenuItemObject() = default;
  virtual std::string Caption() const = 0;
};

// A fixed text as an item object.
class MenuText : public MenuItemObject {
 public:
  explicit MenuText(std::string text) : text_(std::move(text)) {}
  std::string Caption() const override { return text_; }

 private:
  std::string text_;
};

// Result of Menu::CheckSeparator: whether the position holds an item, and
// whether that item is a separator.
struct SeparatorCheck {
  bool exists = false;
  bool separator = false;
};

class Menu {
 public:
  Menu() = default;
  virtual ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  // A new, empty popup menu when `existing` is null; otherwise the object
  // takes over `existing` and destroys it with itself. False when the menu
  // cannot be created. An earlier menu of the object is released first.
  virtual bool Init(HMENU existing = nullptr);
  // A new, empty menu bar, for SetMenu.
  bool InitBar();
  // The system menu of `window`, borrowed: the window keeps it. Item ids
  // must be multiples of 16 below 0xF000 (the system uses the low 4 bits).
  bool InitSystemMenu(HWND window);
  // Puts this menu bar on `window` (which then owns the handle).
  bool SetAsWindowMenu(HWND window);

  HMENU Handle() const { return handle_; }
  bool IsSystemMenu() const { return systemMenu_; }
  // The window whose WM_COMMAND / WM_SYSCOMMAND reach this menu's handlers.
  HWND Owner() const { return owner_; }
  void Owner(HWND window) { owner_ = window; }

  // Popup handle at zero-based `position` of this menu, null when none.
  HMENU GetSubMenu(int position) const;
  int ItemCount() const;

  // Appends a command item. `symbol` (stored upper-case) names the item for
  // SymbolOf/IdOf; `handler` runs when the item is chosen.
  bool AppendItem(UINT id, const std::string& text, const std::string& symbol = {},
                  std::function<void()> handler = {});
  // Appends `popup` as a submenu under `text`; this menu keeps the object and
  // the popup's handle is destroyed with this menu. Null on failure.
  Menu* AppendItem(std::unique_ptr<Menu> popup, const std::string& text);
  // A new, empty submenu under `text`; null on failure.
  Menu* AppendPopup(const std::string& text);
  bool AppendSeparator();

  // Forgets everything registered for `id`: its registry entries, symbol and
  // handler. The item itself stays in the menu.
  void UnregisterItem(UINT id);
  bool DeleteItem(UINT id);
  bool EnableItem(UINT id);
  bool DisableItem(UINT id);
  void EnDisableItem(UINT id, bool enable);
  void ClearItem(UINT id);
  bool CheckItem(UINT id, bool checked);
  bool IsChecked(UINT id) const;
  bool IsItemEnabled(UINT id) const;
  // Shown in bold; the item a double click on a notification icon would pick.
  bool DefaultItem(UINT id);
  std::string ItemText(UINT id) const;
  bool ItemText(UINT id, const std::string& text);

  std::string SymbolOf(UINT id) const;  // empty when the id has none
  UINT IdOf(const std::string& symbol) const;  // 0 when no item has it

  // Whether zero-based `position` of `menu` holds an item and is a separator.
  static SeparatorCheck CheckSeparator(HMENU menu, UINT position);
  // Command id at zero-based `position` of this menu, 0 when there is none.
  UINT GetMenuItemID(UINT position) const;
  // Removes separators at the top, at the bottom and next to each other,
  // looking at positions 0 to 50; redraws `window`'s menu bar when given.
  static void Restructure(HMENU menu, HWND window = nullptr);

  // Shows this menu at `at` (screen; the cursor when null) for `owner` and
  // runs the chosen item's handler. Returns the chosen id, 0 when dismissed.
  UINT Track(HWND owner, const POINT* at = nullptr, UINT flags = TPM_RIGHTBUTTON);

  // Runs the handler of `id` in this menu or its submenus; false when none.
  bool Command(UINT id);
  // Called when `popup` (this menu or one registered to it) is about to open.
  void OnOpen(std::function<void(Menu&, HMENU popup)> hook) { onOpen_ = std::move(hook); }
  virtual void InitPopup(HMENU popup);
  // The owner window is being destroyed: a borrowed handle (system menu,
  // window menu bar) goes with it.
  void OwnerDestroyed();

 protected:
  // One registration: command id, the object that gives the item its text,
  // and the popup handle (null for a plain item).
  struct Entry {
    UINT id;
    std::shared_ptr<const MenuItemObject> object;
    HMENU popup;
  };
  std::vector<Entry> entries_;

  // Replaces the text of the item with command `id`, keeping its type.
  bool ReplaceItemText(UINT id, const std::string& text);
  // Turns the item at `position` of `parent` into the popup `popup` titled `text`.
  static bool MakePopupItem(HMENU parent, UINT position, HMENU popup, const std::string& text);
  void RedrawOwnerMenuBar() const;
  // Drops the submenu object whose handle is `popup` (already destroyed).
  void ForgetSubMenu(HMENU popup);

 private:
  struct CommandInfo {
    UINT id;
    std::string symbol;
    std::function<void()> handler;
  };
  void Release();
  const CommandInfo* FindCommand(UINT id) const;

  HMENU handle_ = nullptr;
  bool owned_ = false;
  bool systemMenu_ = false;
  HWND owner_ = nullptr;
  std::vector<CommandInfo> commands_;
  std::vector<std::unique_ptr<Menu>> children_;
  std::function<void(Menu&, HMENU)> onOpen_;
};
