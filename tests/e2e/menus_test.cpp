// The notification icon's menu, the system-menu options, the Run value, and
// the icon that stands in for a window hidden while stopped.
#include <gtest/gtest.h>

#include <cctype>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Program;
namespace settings = e2e::settings;

std::optional<DWORD> TypeTextValue() {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "TypeText", RRF_RT_REG_DWORD, nullptr,
                   &value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class TrayMenu : public e2e::RunningProgram {
 protected:
  // Opens the icon's menu with a right click; the menu window, or null.
  HWND OpenMenu() {
    HWND icon = program.TrayIcon();
    if (icon == nullptr) return nullptr;
    PostMessageA(icon, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    PostMessageA(icon, WM_RBUTTONUP, 0, 0);
    return ui::WaitForWindow(program.Pid(), [](HWND h) { return ui::ClassName(h) == "#32768"; }, 10000);
  }

  // Picks the item `downs` steps down from the top (separators are skipped).
  void Choose(HWND menu, int downs) {
    for (int i = 0; i < downs; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(ui::WaitForWindowGone(menu, 10000));
  }
};

// Items from the top: Show TV-SERKEY, Stop, Ports on this computer, Type as text,
// Pause between keys, Start with Windows, Data rules... (greyed here, but the
// arrow keys still stop on it), Device..., Pause typing, Exit.
TEST_F(TrayMenu, RightClickMenuSetsTheOptionStopsAndShowsTheWindow) {
  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr) << "a right click opens the menu";
  Choose(menu, 4);
  EXPECT_TRUE(ui::WaitUntil([] { return TypeTextValue() == std::optional<DWORD>(1); }, 5000)) << "Type as text";

  Choose(OpenMenu(), 2);
  EXPECT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_BUTTON_STARTSTOP) == "Start"; }, 5000)) << "Stop";
  EXPECT_FALSE(IsWindowVisible(program.Main()));
  ui::PumpMessages(500);
  EXPECT_EQ(program.TrayIconCount(), 1) << "hidden and stopped: the icon stays as the way back";

  Choose(OpenMenu(), 1);
  EXPECT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(program.Main()) != FALSE; }, 5000)) << "Show";
  EXPECT_TRUE(ui::WaitUntil([&] { return program.TrayIconCount() == 0; }, 10000)) << "shown and stopped: no icon";
}

TEST_F(TrayMenu, ExitClosesThePortAndEndsTheProgram) {
  Choose(OpenMenu(), 10);
  EXPECT_TRUE(program.Process().Wait(20000));
  EXPECT_TRUE(ui::WaitUntil([&] { return program.TrayIconCount() == 0; }));
}

TEST(SystemMenu, StartWithWindowsWritesTheQuotedPathWithStartAndRemovesIt) {
  settings::Remove();
  e2e::RemoveRunValue();
  Program program;
  ASSERT_TRUE(program.Start());
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  PostMessageA(program.Main(), WM_SYSCOMMAND, IDM_START_WITH_WINDOWS, 0);
  ASSERT_TRUE(ui::WaitUntil([] { return e2e::RunValue().has_value(); }, 5000));
  EXPECT_EQ(Upper(*e2e::RunValue()), Upper(testing_process::ProductPath() + " /START"));
  EXPECT_EQ(settings::ValueCount(), 0u) << "the port settings are not touched";

  PostMessageA(program.Main(), WM_SYSCOMMAND, IDM_START_WITH_WINDOWS, 0);
  EXPECT_TRUE(ui::WaitUntil([] { return !e2e::RunValue().has_value(); }, 5000));
  EXPECT_TRUE(program.CloseAndWait());
}

TEST(HiddenWhileStopped, MinimisingShowsTheIconAndAClickOnItBringsTheWindowBack) {
  settings::Remove();
  Program program;
  ASSERT_TRUE(program.Start());
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(program.Main()) != FALSE; }));
  EXPECT_EQ(program.TrayIconCount(), 0);
  PostMessageA(program.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(ui::WaitUntil([&] { return program.TrayIconCount() == 1; }, 5000));
  EXPECT_FALSE(IsWindowVisible(program.Main()));
  EXPECT_TRUE(ui::TopLevelWindows(0, [](HWND h) {
                return IsWindowVisible(h) && ui::ClassName(h) == "tooltips_class32";
              }).empty())
      << "no balloon";

  HWND icon = program.TrayIcon();
  PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageA(icon, WM_LBUTTONUP, 0, 0);
  ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(program.Main()) != FALSE; }));
  EXPECT_TRUE(ui::WaitUntil([&] { return program.TrayIconCount() == 0; }, 10000));
  EXPECT_EQ(program.ControlText(IDC_BUTTON_STARTSTOP), "Start");
  EXPECT_TRUE(program.CloseAndWait());
}

}  // namespace
