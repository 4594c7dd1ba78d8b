#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/menus.h"
#include "platform/menu_registry.h"
#include "platform/window.h"

namespace {

// Builds a popup from a pattern: '-' a separator, any other character an
// item whose command id is that character's code.
HMENU FromPattern(const std::string& pattern) {
  HMENU menu = CreatePopupMenu();
  for (char c : pattern) {
    if (c == '-') {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(c), std::string(1, c).c_str());
    }
  }
  return menu;
}

std::string Pattern(HMENU menu) {
  Menu reader;
  reader.Init(menu);  // destroys the menu when the reader goes
  std::string result;
  for (UINT p = 0; p < static_cast<UINT>(GetMenuItemCount(menu)); ++p) {
    const SeparatorCheck item = Menu::CheckSeparator(menu, p);
    result += item.separator ? '-' : static_cast<char>(reader.GetMenuItemID(p));
  }
  return result;
}

TEST(Menu, RestructureDropsSeparatorsAtTheEdgesAndInARow) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {{"-A--B-", "A-B"}, {"---", ""}, {"AB", "AB"}, {"A-B--C", "A-B-C"}};
  for (const auto& c : cases) {
    HMENU menu = FromPattern(c.before);
    Menu::Restructure(menu);
    EXPECT_EQ(Pattern(menu), c.after) << "from " << c.before;
  }
  // Only positions 0 to 50 are looked at: a separator at 50 counts as the bottom.
  std::string long60(60, 'x');
  long60[50] = '-';
  long60[55] = '-';
  HMENU menu = FromPattern(long60);
  Menu::Restructure(menu);
  std::string expected = long60;
  expected.erase(50, 1);
  EXPECT_EQ(Pattern(menu), expected);
}

TEST(Menu, PositionsPastTheEndAnswerNothing) {
  Menu menu;
  ASSERT_TRUE(menu.Init());
  menu.AppendItem(7, "Seven");
  menu.AppendSeparator();
  EXPECT_TRUE(Menu::CheckSeparator(menu.Handle(), 0).exists);
  EXPECT_FALSE(Menu::CheckSeparator(menu.Handle(), 0).separator);
  EXPECT_TRUE(Menu::CheckSeparator(menu.Handle(), 1).separator);
  const SeparatorCheck past = Menu::CheckSeparator(menu.Handle(), 2);
  EXPECT_FALSE(past.exists);
  EXPECT_FALSE(past.separator);
  EXPECT_EQ(menu.GetMenuItemID(0), 7u);
  EXPECT_EQ(menu.GetMenuItemID(2), 0u);
}

TEST(Menu, RegisterItemReplacesPlainEntriesAndAppendsPopups) {
  __Menu menu;
  ASSERT_TRUE(menu.Init());
  menu.AppendItem(10, "old");
  ModifyMenuA(menu.Handle(), 10, MF_BYCOMMAND | MF_STRING | MFT_RADIOCHECK, 10, "old");
  auto first = std::make_shared<MenuText>("First");
  auto second = std::make_shared<MenuText>("Second");
  menu.RegisterItem(10, first);
  menu.RegisterItem(10, second);
  EXPECT_EQ(menu.RegisteredCount(10), 1u);
  EXPECT_EQ(menu.RegisteredObject(10), second.get());
  EXPECT_EQ(menu.ItemText(10), "Second");
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(menu.Handle(), 10, FALSE, &info);
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << "the item's type stays";

  Menu* a = menu.AppendPopup("a");
  Menu* b = menu.AppendPopup("b");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  menu.RegisterItem(20, first, menu.Handle(), 1);
  menu.RegisterItem(20, second, menu.Handle(), 2);
  EXPECT_EQ(menu.RegisteredCount(20), 2u);
  EXPECT_EQ(menu.GetSubMenuHandle(20), a->Handle()) << "the first entry answers";
  EXPECT_EQ(menu.GetSubMenu(1), a->Handle()) << "still the same popup";
  char text[32] = {};
  GetMenuStringA(menu.Handle(), 2, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Second");
  EXPECT_EQ(MenuFromHandle(b->Handle()), &menu) << "the popup routes to the registering menu";
  EXPECT_EQ(menu.GetSubMenuHandle(99), nullptr);
  // No submenu at that position: nothing is registered.
  menu.RegisterItem(30, first, menu.Handle(), 0);
  EXPECT_EQ(menu.RegisteredCount(30), 0u);

  // The menu keeps its objects alive: the caller may let go of them.
  const MenuItemObject* kept = second.get();
  first.reset();
  second.reset();
  ASSERT_EQ(menu.RegisteredObject(10), kept);
  EXPECT_EQ(kept->Caption(), "Second");
}

// An entry that would point at a destroyed temporary does not compile.
template <class M>
concept RegistersTemporaries = requires(M menu) { menu.RegisterItem(10u, MenuText("x")); };
static_assert(!RegistersTemporaries<__Menu>);

TEST(Menu, DeleteSubMenuRemovesEveryPositionHoldingThePopupFromZeroOn) {
  __Menu menu;
  ASSERT_TRUE(menu.Init());
  HMENU popup = CreatePopupMenu();
  AppendMenuA(menu.Handle(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), "P");
  AppendMenuA(menu.Handle(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), "P again");
  menu.AppendItem(5, "Keep");
  AppendMenuA(menu.Handle(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), "P last");
  menu.RegisterItem(40, std::make_shared<MenuText>("Popup"), menu.Handle(), 0);
  menu.DeleteSubMenu(40, nullptr);
  ASSERT_EQ(menu.ItemCount(), 1);
  EXPECT_EQ(menu.GetMenuItemID(0), 5u);
  EXPECT_FALSE(IsMenu(popup)) << "the popup is destroyed";
  EXPECT_EQ(MenuFromHandle(popup), nullptr);
}

class TrayMenu : public _ContextMenu {};

TEST(Menu, ContextMenusAreNamedAndLVMenuEmptyHoldsOneEmptyPopup) {
  _ContextMenu context;
  ASSERT_TRUE(context.Init());
  EXPECT_EQ(context.NameSym(), "_CONTEXTMENU");
  EXPECT_EQ(context.NameSym("tray"), "TRAY");
  TrayMenu tray;  // overrides nothing, named all the same
  ASSERT_TRUE(tray.Init());
  EXPECT_EQ(tray.NameSym(), "TRAYMENU");
  LVMenuEmpty lv;
  ASSERT_TRUE(lv.Init());
  EXPECT_EQ(lv.NameSym(), "LVMENU1");
  ASSERT_EQ(lv.ItemCount(), 1);
  HMENU popup = lv.GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetMenuItemCount(popup), 0);
  char text[16] = {};
  GetMenuStringA(lv.Handle(), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "LVMenu1");
}

class Owner : public Window {
 public:
  Owner() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Window::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MenuTestOwner";
    RegisterClassA(&wc);
    CreateWindowExA(0, "MenuTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150, nullptr,
                    nullptr, GetModuleHandleA(nullptr), this);
  }
  LRESULT Dispatch(const Event& event) override {
    if (event.message == WM_COMMAND || event.message == WM_SYSCOMMAND) lastSeen = LOWORD(event.wParam);
    return Window::Dispatch(event);
  }
  UINT lastSeen = 0;
};

TEST(Menu, OwnerWindowRoutesOpenCommandAndSystemCommandToTheMenu) {
  Owner owner;
  ASSERT_NE(owner.Handle(), nullptr);
  int shown = 0, exits = 0, opened = 0, about = 0;
  _ContextMenu tray;
  ASSERT_TRUE(tray.Init());
  tray.AppendItem(101, "Show", "show", [&] { ++shown; });
  tray.AppendSeparator();
  tray.AppendItem(102, "Exit", "exit", [&] { ++exits; });
  tray.AppendItem(103, "No handler", "plain");
  tray.OnOpen([&](Menu& m, HMENU) {
    ++opened;
    m.CheckItem(101, true);
  });
  EXPECT_EQ(tray.IdOf("Exit"), 102u);
  EXPECT_EQ(tray.SymbolOf(103), "PLAIN");

  // Keys posted before the menu opens are read by its modal loop.
  PostMessageA(owner.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(owner.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  const POINT at{20, 20};
  EXPECT_EQ(tray.Track(owner.Handle(), &at), 101u);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(opened, 1) << "WM_INITMENUPOPUP reached the menu";
  EXPECT_TRUE(tray.IsChecked(101));

  SendMessageA(owner.Handle(), WM_COMMAND, 102, 0);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(owner.lastSeen, 0u) << "a handled command does not reach Dispatch";
  SendMessageA(owner.Handle(), WM_COMMAND, 103, 0);
  EXPECT_EQ(owner.lastSeen, 103u) << "an item without handler is left to the window";

  tray.EnDisableItem(102, false);
  EXPECT_FALSE(tray.IsItemEnabled(102));
  tray.EnDisableItem(102, true);
  EXPECT_TRUE(tray.IsItemEnabled(102));
  tray.ClearItem(102);
  EXPECT_EQ(tray.IdOf("exit"), 0u);
  EXPECT_EQ(GetMenuState(tray.Handle(), 102, MF_BYCOMMAND), static_cast<UINT>(-1));

  Menu system;
  ASSERT_TRUE(system.InitSystemMenu(owner.Handle()));
  system.AppendSeparator();
  system.AppendItem(0x110, "About", "about", [&] { ++about; });
  SendMessageA(owner.Handle(), WM_SYSCOMMAND, 0x110, 0);
  EXPECT_EQ(about, 1);
  owner.Destroy();
  EXPECT_EQ(system.Handle(), nullptr) << "the system menu went with its window";
}

}  // namespace
