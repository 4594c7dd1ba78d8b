// Text mode's translation of received bytes (the code page here is 1252).
#include "app/text_keys.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "app/options.h"
#include "platform/send_input.h"

namespace {

TextKey Char(wchar_t c) { return {TextKey::Kind::Character, static_cast<std::uint16_t>(c)}; }
TextKey Key(WORD vk) { return {TextKey::Kind::Key, vk}; }

TEST(TextKeys, LineEndsControlsAndCodePageCharacters) {
  struct Case {
    std::string bytes;
    std::vector<TextKey> keys;
  };
  const Case cases[] = {
      {"a\r\nb", {Char(L'a'), Key(VK_RETURN), Char(L'b')}},
      {"\n\n\r\r", {Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN)}},
      {"\t\b\x1B", {Key(VK_TAB), Key(VK_BACK), Key(VK_ESCAPE)}},
      {std::string("\x00\x01\x1F\x7F", 4), {}},
      {"\xE9\x80", {Char(L'\u00E9'), Char(L'\u20AC')}},
      {"\x81", {}},  // undefined in 1252: a C1 control, not typed
  };
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  for (const Case& c : cases) {
    TextKeys translator;
    EXPECT_EQ(translator.Translate(c.bytes), c.keys) << c.bytes;
  }
}

TEST(RunCommand, NamesTheExecutableQuotedOrNotInAnyCase) {
  EXPECT_TRUE(RunCommandNames("\"C:\\Tools\\TV-SERKEY.exe\" /START", "c:\\tools\\tv-serkey.EXE"));
  EXPECT_TRUE(RunCommandNames("C:\\Tools\\TV-SERKEY.exe /START", "C:\\Tools\\TV-SERKEY.exe"));
  EXPECT_FALSE(RunCommandNames("\"C:\\Other\\TV-SERKEY.exe\" /START", "C:\\Tools\\TV-SERKEY.exe"));
  EXPECT_FALSE(RunCommandNames("\"C:\\Tools\\TV-SERKEY.exe", "C:\\Tools\\TV-SERKEY.exe")) << "unclosed quote";
  EXPECT_FALSE(RunCommandNames("", ""));
}

// The navigation keys that rules can type share their scan codes with the
// keypad: a program that reads scan codes tells them apart by the extended
// flag (bit 24 of the key message), which Enter of the main block must not carry.
LRESULT CALLBACK KeyFlagsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    auto* seen = reinterpret_cast<std::vector<std::pair<WPARAM, bool>>*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    seen->emplace_back(wParam, (lParam & 0x01000000) != 0);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(SendKey, NavigationKeysAreExtendedAndEnterIsNot) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = KeyFlagsProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KeyFlagsTarget";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "KeyFlagsTarget", "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  std::vector<std::pair<WPARAM, bool>> seen;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
  SetForegroundWindow(window);
  SetFocus(window);
  const WORD keys[] = {VK_HOME, VK_RETURN, VK_DOWN, VK_PRIOR, VK_TAB, VK_DELETE};
  for (WORD vk : keys) ASSERT_TRUE(SendKey(vk));
  for (int i = 0; i < 200 && seen.size() < std::size(keys); ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  DestroyWindow(window);
  const std::vector<std::pair<WPARAM, bool>> expected = {{VK_HOME, true},  {VK_RETURN, false}, {VK_DOWN, true},
                                                         {VK_PRIOR, true}, {VK_TAB, false},    {VK_DELETE, true}};
  EXPECT_EQ(seen, expected);
}

}  // namespace
