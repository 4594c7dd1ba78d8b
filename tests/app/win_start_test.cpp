// The main window in this process: batches of received bytes, keys while the
// window is in front, hiding on minimise and maximise, and a failed start.
#include "app/win_start.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>

#include "app/app.h"
#include "resources/resource_ids.h"
#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace {

namespace settings = e2e::settings;

class MainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { App().Initialize(); }

  void SetUp() override {
    settings::Remove();
    settings::WriteString("Port", e2e::kProgramPort);
    window = std::make_unique<WinStart>(nullptr);
    ASSERT_NE(window->Handle(), nullptr);
  }

  void TearDown() override {
    window.reset();
    // The main window quits the program when it goes; later boxes of this
    // process must not see that quit.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Running on the null-modem port with the watcher held back, so that only
  // the notifications a test posts (and those the window posts itself) read.
  bool StartWithoutWatcher() {
    window->ButtonStartStop();
    return window->IsRunning() && window->SerialPort()->DisableEvents();
  }

  bool WaitForPending(std::uint32_t count) {
    return ui::WaitUntil([&] { return window->SerialPort()->ReceiverPending() >= count; }, 5000);
  }

  std::unique_ptr<WinStart> window;
};

TEST_F(MainWindow, FiftyWaitingBytesAreTypedThirtyAndThenTheTwentyLeftBehind) {
  e2e::TypingTarget target(true);
  e2e::Device device;
  ASSERT_TRUE(device.Opened());
  ASSERT_TRUE(StartWithoutWatcher());
  target.Focus();
  std::string burst;
  for (int i = 0; i < 50; ++i) burst += static_cast<char>('0' + i % 10);
  ASSERT_TRUE(device.Send(burst));
  ASSERT_TRUE(WaitForPending(50));

  PostMessageA(window->Handle(), WM_COMMNOTIFY, 1, 0);
  MSG notification;
  ASSERT_TRUE(PeekMessageA(&notification, window->Handle(), WM_COMMNOTIFY, WM_COMMNOTIFY, PM_REMOVE));
  DispatchMessageA(&notification);
  EXPECT_EQ(window->oDCStatusByte.Caption(), "30");
  EXPECT_EQ(window->SerialPort()->ReceiverPending(), 20u);

  EXPECT_TRUE(target.WaitForKeys(50, 10000)) << "the window posts itself the batch for the rest; got "
                                             << target.Keys().size();
  EXPECT_EQ(e2e::Bytes(target.Keys()), burst);
  EXPECT_EQ(window->oDCStatusByte.Caption(), "20");
}

TEST_F(MainWindow, BytesAreShownButNotPressedWhileTheWindowItselfIsInFront) {
  e2e::Device device;
  ASSERT_TRUE(device.Opened());
  ASSERT_TRUE(StartWithoutWatcher());
  window->ShowCentered();
  SetForegroundWindow(window->Handle());
  ASSERT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == window->Handle(); }, 5000));
  window->oCCButtonStartStop.SetFocus();
  ASSERT_TRUE(device.Send(" \r"));
  ASSERT_TRUE(WaitForPending(2));

  PostMessageA(window->Handle(), WM_COMMNOTIFY, 1, 0);
  ui::PumpMessages(500);
  EXPECT_TRUE(window->IsRunning()) << "the blank pressed our own Stop button";
  EXPECT_EQ(window->oDCStatusByte.Caption(), "2");
  EXPECT_EQ(window->oDCStatusText.Caption(), "Read:  \r");
}

TEST_F(MainWindow, EveryMinimiseAndMaximiseHidesWhateverItsHitTestBits) {
  for (WPARAM command : {WPARAM{SC_MAXIMIZE | HTCAPTION}, WPARAM{SC_MINIMIZE | HTCAPTION}, WPARAM{SC_MAXIMIZE}}) {
    window->ShowCentered();
    SendMessageA(window->Handle(), WM_SYSCOMMAND, command, 0);
    EXPECT_FALSE(IsWindowVisible(window->Handle())) << std::hex << command;
    EXPECT_FALSE(IsZoomed(window->Handle())) << std::hex << command;
    EXPECT_FALSE(IsIconic(window->Handle())) << std::hex << command;
  }
}

// The error box runs its own message loop: a timer 9999 there stops the
// half-started port, and the attempt must not then start a second one.
TEST_F(MainWindow, TimerDuringTheErrorBoxOfAFailedStartLeavesOneBoxAndTheStoppedState) {
  window->oDCPort.SelectValue(std::string("COM19"));
  window->ShowCentered();
  HWND main = window->Handle();
  auto boxes = std::async(std::launch::async, [main] {
    int count = 0;
    for (HWND box = ui::WaitForMessageBox(GetCurrentProcessId(), 10000); box != nullptr;
         box = ui::WaitForMessageBox(GetCurrentProcessId(), 3000)) {
      if (++count == 1) {
        PostMessageA(main, WM_TIMER, 9999, 0);
        Sleep(300);
      }
      ui::PressButton(box, IDOK);
      ui::WaitForWindowGone(box);
    }
    return count;
  });
  window->ButtonStartStop();
  EXPECT_EQ(boxes.get(), 1);
  EXPECT_FALSE(window->IsRunning());
  EXPECT_EQ(window->oCCButtonStartStop.Caption(), "Start");
  EXPECT_TRUE(window->oDCPort.IsEnabled());
}

// The system menu's check marks follow the options; "Start with Windows" is
// checked only for a Run value that names this executable.
TEST_F(MainWindow, SystemMenuCheckMarksFollowTheOptionsAndTheRunValue) {
  HMENU menu = GetSystemMenu(window->Handle(), FALSE);
  auto checked = [&](UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  const char* const run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string foreign = "\"C:\\Other\\TV-SERKEY.exe\" /START";
  RegSetKeyValueA(HKEY_CURRENT_USER, run, "TV-SERKEY", REG_SZ, foreign.c_str(), static_cast<DWORD>(foreign.size() + 1));
  EXPECT_FALSE(checked(IDM_TYPE_TEXT));

  SendMessageA(window->Handle(), WM_SYSCOMMAND, IDM_TYPE_TEXT, 0);
  EXPECT_TRUE(window->TypeAsText());
  EXPECT_TRUE(checked(IDM_TYPE_TEXT));
  EXPECT_FALSE(checked(IDM_START_WITH_WINDOWS)) << "another copy's value";

  SendMessageA(window->Handle(), WM_SYSCOMMAND, IDM_START_WITH_WINDOWS, 0);
  EXPECT_TRUE(checked(IDM_START_WITH_WINDOWS)) << "now it names this executable";
  SendMessageA(window->Handle(), WM_SYSCOMMAND, IDM_START_WITH_WINDOWS, 0);
  EXPECT_FALSE(checked(IDM_START_WITH_WINDOWS));
  EXPECT_FALSE(e2e::RunValue().has_value());

  SendMessageA(window->Handle(), WM_SYSCOMMAND, IDM_TYPE_TEXT, 0);
  EXPECT_FALSE(checked(IDM_TYPE_TEXT));
}

// "Data rules..." works on text mode only: greyed in key mode, saying why.
TEST_F(MainWindow, DataRulesItemIsGreyedWithItsReasonInKeyMode) {
  HMENU menu = GetSystemMenu(window->Handle(), FALSE);
  auto state = [&] {
    char text[128] = {};
    GetMenuStringA(menu, IDM_DATA_RULES, text, sizeof text, MF_BYCOMMAND);
    const bool grey = (GetMenuState(menu, IDM_DATA_RULES, MF_BYCOMMAND) & MF_GRAYED) != 0;
    return std::string(grey ? "grey: " : "") + text;
  };
  for (bool text : {false, true}) {
    window->TypeAsText(text);
    SendMessageA(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    EXPECT_EQ(state(), text ? "Data rules..." : "grey: Data rules... (only with \"Type as text\")");
  }
  window->TypeAsText(false);
}

}  // namespace
