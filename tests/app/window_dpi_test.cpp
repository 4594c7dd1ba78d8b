// The main window and the rules dialog on a monitor of another scale, the
// icon's sizes, and the port read while the notification area refuses the icon.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <memory>
#include <set>

#include "app/app.h"
#include "app/data_rules_dialog.h"
#include "app/win_start.h"
#include "platform/dpi.h"
#include "platform/tray_icon.h"
#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace {

struct Placed {
  RECT rect;
  bool combo;  // a closed combo box is as high as its font makes it
  int fontHeight;
};

int FontHeight(HWND window) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return std::abs(font.lfHeight);
}

// The children of `parent` in their order, in its client coordinates.
std::vector<Placed> Children(HWND parent) {
  std::vector<Placed> placed;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    placed.push_back({rect, ui::ClassName(child) == "ComboBox", FontHeight(child)});
  }
  return placed;
}

// Each value at 144 DPI is 1.5 times the one at 96, give or take the
// rounding to whole pixels at both resolutions (half a pixel at 144, and
// half a pixel at 96 made 1.5 times larger).
void ExpectGrownByHalf(const std::vector<Placed>& at96, const std::vector<Placed>& at144) {
  ASSERT_EQ(at96.size(), at144.size());
  auto halfMore = [](long before, long after) { return std::abs(after - before * 1.5) <= 1.25; };
  for (size_t i = 0; i < at96.size(); ++i) {
    const RECT& a = at96[i].rect;
    const RECT& b = at144[i].rect;
    // An etched line keeps its thickness, and its length under Wine takes its edges.
    const bool line = a.bottom - a.top <= 2;
    const bool sizeGrows = line || (halfMore(a.right - a.left, b.right - b.left) &&
                                    (at96[i].combo || halfMore(a.bottom - a.top, b.bottom - b.top)));
    EXPECT_TRUE(halfMore(a.left, b.left) && halfMore(a.top, b.top) && sizeGrows)
        << "control " << i << ": " << a.left << "," << a.top << " " << a.right - a.left << "x" << a.bottom - a.top
        << " became " << b.left << "," << b.top << " " << b.right - b.left << "x" << b.bottom - b.top;
    EXPECT_TRUE(halfMore(at96[i].fontHeight, at144[i].fontHeight))
        << "control " << i << " font " << at96[i].fontHeight << " -> " << at144[i].fontHeight;
  }
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, bitmap.bmHeight};
}

RECT Grown(RECT rect, int dx, int dy) { return {rect.left + dx, rect.top + dy, rect.right + dx * 3, rect.bottom + dy * 3}; }

class WindowAtAnotherScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { App().Initialize(); }

  void SetUp() override {
    e2e::settings::Remove();
    e2e::settings::WriteString("Port", e2e::kProgramPort);
    window = std::make_unique<WinStart>(nullptr);
    ASSERT_NE(window->Handle(), nullptr);
  }

  void TearDown() override {
    window.reset();
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::unique_ptr<WinStart> window;
};

TEST_F(WindowAtAnotherScale, At150PercentFormFontsFrameStatusBarAndIconsFollow) {
  ASSERT_EQ(window->Dpi(), kDefaultDpi) << "the test starts at 96 DPI";
  const std::vector<Placed> before = Children(window->Form());
  RECT form96{};
  GetClientRect(window->Form(), &form96);
  RECT place{};
  GetWindowRect(window->Handle(), &place);
  const RECT suggested = Grown(place, 40, 30);
  SendMessageA(window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  ExpectGrownByHalf(before, Children(window->Form()));
  RECT form{};
  GetClientRect(window->Form(), &form);
  EXPECT_LE(std::abs(form.right - form96.right * 1.5), 1.0) << form96.right << " -> " << form.right;
  RECT client{};
  GetClientRect(window->Handle(), &client);
  RECT bar{};
  GetWindowRect(window->StatusBar(), &bar);
  EXPECT_EQ(client.right, form.right) << "the frame fits the form";
  EXPECT_EQ(client.bottom, form.bottom + (bar.bottom - bar.top)) << "and the status bar below it";
  GetWindowRect(window->Handle(), &place);
  EXPECT_EQ(place.left, suggested.left);
  EXPECT_EQ(place.top, suggested.top);

  // The template's own texts are the widest the fields show.
  for (auto [field, text] : {std::pair{&window->oDCStatusByte, "999"}, {&window->oDCStatusText, "Running..."}}) {
    RECT inside{};
    GetClientRect(field->Handle(), &inside);
    EXPECT_LT(TextWidth(field->Handle(), text), inside.right) << text;
  }
  RECT clock{};
  SendMessageA(window->StatusBar(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&clock));
  EXPECT_GT(clock.right - clock.left, TextWidth(window->StatusBar(), "00:00:00"));

  const auto big = reinterpret_cast<HICON>(SendMessageA(window->Handle(), WM_GETICON, ICON_BIG, 0));
  const auto small = reinterpret_cast<HICON>(SendMessageA(window->Handle(), WM_GETICON, ICON_SMALL, 0));
  EXPECT_EQ(IconSize(big).cx, SystemMetricForDpi(SM_CXICON, 144));
  EXPECT_EQ(IconSize(small).cx, SystemMetricForDpi(SM_CXSMICON, 144));
  EXPECT_GT(SystemMetricForDpi(SM_CXSMICON, 144), GetSystemMetrics(SM_CXSMICON));
}

TEST_F(WindowAtAnotherScale, TheRulesDialogIsLaidOutAgainAt150Percent) {
  struct Seen {
    std::vector<Placed> before, after;
    RECT clientBefore{}, clientAfter{};
  };
  std::future<Seen> seen = std::async(std::launch::async, [] {
    Seen result;
    HWND dialog = ui::WaitForWindowTitled(GetCurrentProcessId(), "Data rules");
    if (dialog == nullptr) return result;
    result.before = Children(dialog);
    GetClientRect(dialog, &result.clientBefore);
    RECT place{};
    GetWindowRect(dialog, &place);
    const RECT suggested = Grown(place, 10, 10);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    result.after = Children(dialog);
    GetClientRect(dialog, &result.clientAfter);
    ui::PressButton(dialog, IDCANCEL);
    return result;
  });
  std::vector<DataRule> rules{{"^(\\d+)$", "$1{ENTER}"}};
  EXPECT_FALSE(EditDataRules(window->Handle(), rules));
  const Seen result = seen.get();
  ASSERT_FALSE(result.before.empty()) << "the dialog was found";
  ExpectGrownByHalf(result.before, result.after);
  EXPECT_LE(std::abs(result.clientAfter.right - result.clientBefore.right * 1.5), 1.0);
  EXPECT_LE(std::abs(result.clientAfter.bottom - result.clientBefore.bottom * 1.5), 1.0);
}

TEST(AppIcon, TheIconGroupHoldsEverySizeFrom100To200Percent) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, "APP_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  ASSERT_GE(SizeofResource(module, group), 6u + 14u * count);
  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = data + 6 + 14 * i;  // width, height, colours, reserved, planes, bits, bytes, id
    sizes.insert(entry[0] == 0 ? 256 : entry[0]);
    EXPECT_EQ(entry[0], entry[1]);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << "with an alpha channel";
  }
  for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) EXPECT_TRUE(sizes.count(size)) << size;
}

// A notification area that is not ready yet: each call blocks until the
// test lets it go (or 10 s), and refuses.
std::atomic<bool> shellBusy{false};
std::atomic<int> shellCalls{0};
HANDLE shellRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);

BOOL WINAPI SlowRefusingShell(DWORD message, PNOTIFYICONDATAA) {
  if (message == NIM_DELETE) return TRUE;
  ++shellCalls;
  shellBusy = true;
  WaitForSingleObject(shellRelease, 10000);
  shellBusy = false;
  return FALSE;
}

TEST_F(WindowAtAnotherScale, BytesAreTypedWhileTheIconsAddBlocksAndIsRetried) {
  e2e::TypingTarget target(true);
  e2e::Device device;
  ASSERT_TRUE(device.Opened());
  ResetEvent(shellRelease);
  const ShellNotifyFunction shell = UseShellNotify(&SlowRefusingShell);
  window->ButtonStartStop();
  ASSERT_TRUE(window->IsRunning());
  target.Focus();
  ASSERT_TRUE(device.Send("42"));
  const bool typed = ui::WaitUntil([&] { return target.Keys().size() >= 2; }, 5000);
  const bool whileBlocked = shellBusy;
  SetEvent(shellRelease);
  EXPECT_TRUE(typed) << "the port is read while the shell keeps the icon's add waiting";
  EXPECT_TRUE(whileBlocked) << "typed before the add came back";
  EXPECT_EQ(e2e::Bytes(target.Keys()), "42");
  const int callsMade = shellCalls;
  EXPECT_TRUE(ui::WaitUntil([&] { return shellCalls > callsMade; }, 3000)) << "the refused add is tried again";
  UseShellNotify(shell);
  EXPECT_TRUE(ui::WaitUntil([] { return e2e::Program{}.TrayIconCount() == 1; }, 3000)) << "and gets through";
}

}  // namespace
