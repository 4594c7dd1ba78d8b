// The keys still to type, in this process: the pause option, Stop in the
// middle of a backlog, the reports of keys that reached no window, and the
// real check of the window in front.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>

#include "app/app.h"
#include "app/key_targets.h"
#include "app/win_start.h"
#include "resources/resource_ids.h"
#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace {

namespace settings = e2e::settings;

// Polls without ui::WaitUntil's pumping, which would take the reports away.
bool Poll(const std::function<bool()>& condition, DWORD timeoutMs) {
  for (const ULONGLONG end = GetTickCount64() + timeoutMs; !condition(); Sleep(5)) {
    if (GetTickCount64() >= end) return false;
  }
  return true;
}

void WriteKeyPause(DWORD ms) {
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "KeyPauseMs", REG_DWORD, &ms, sizeof ms);
}

class Typing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { App().Initialize(); }

  void SetUp() override {
    settings::Remove();
    settings::WriteString("Port", e2e::kProgramPort);
    ASSERT_TRUE(target.Started());
    ASSERT_TRUE(device.Opened());
  }

  void TearDown() override {
    window.reset();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "KeyPauseMs");
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Running with the check of the window in front replaced by `check`.
  void Start(TypingQueue::Check check = {}) {
    window = std::make_unique<WinStart>(nullptr);
    if (check) window->TypingCheck(std::move(check));
    window->ButtonStartStop();
    ASSERT_TRUE(window->IsRunning());
    target.Focus();
  }

  // Sends `bytes` and runs the window until it read them all, leaving the
  // reports of keys not typed in the queue for NextReport.
  void Send(const std::string& bytes) {
    ASSERT_TRUE(device.Send(bytes));
    ASSERT_TRUE(Poll([&] { return window->SerialPort()->ReceiverPending() >= bytes.size(); }, 5000));
    ASSERT_TRUE(Poll([&] {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, TypingQueue::kNoFocusReport - 1, PM_REMOVE) ||
             PeekMessageA(&message, nullptr, TypingQueue::kHigherRightsReport + 1, 0xFFFF, PM_REMOVE)) {
        DispatchMessageA(&message);
      }
      return window->SerialPort()->ReceiverPending() == 0;
    }, 5000));
  }

  // The next report of keys not typed: its message and count; 0 when none came.
  std::pair<UINT, WPARAM> NextReport(DWORD timeoutMs = 1000) {
    MSG report{};
    const bool got = Poll([&] {
      return PeekMessageA(&report, window->Handle(), TypingQueue::kNoFocusReport, TypingQueue::kHigherRightsReport,
                          PM_REMOVE) != FALSE;
    }, timeoutMs);
    return got ? std::make_pair(report.message, report.wParam) : std::make_pair(0u, WPARAM{0});
  }

  e2e::TypingTarget target{true};
  e2e::Device device;
  std::unique_ptr<WinStart> window;
};

TEST_F(Typing, StoredPauseReadsAsOneOfTheOfferedOnesOrNone) {
  for (const auto& [stored, expected] : {std::pair<DWORD, unsigned>{5, 5}, {50, 50}, {7, 0}, {1000, 0}}) {
    WriteKeyPause(stored);
    WinStart reader(nullptr);
    EXPECT_EQ(reader.KeyPauseMs(), expected) << "stored " << stored;
  }
  WinStart chooser(nullptr);
  SendMessageA(chooser.Handle(), WM_SYSCOMMAND, IDM_KEY_PAUSE_FIRST + 3 * IDM_KEY_PAUSE_STEP, 0);
  EXPECT_EQ(chooser.KeyPauseMs(), 20u);
  const UINT state = GetMenuState(GetSystemMenu(chooser.Handle(), FALSE), IDM_KEY_PAUSE_FIRST + 3 * IDM_KEY_PAUSE_STEP,
                                  MF_BYCOMMAND);
  EXPECT_TRUE(state != static_cast<UINT>(-1) && (state & MF_CHECKED)) << "20 ms is checked";
  DWORD saved = 0, size = sizeof saved;
  RegGetValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "KeyPauseMs", RRF_RT_REG_DWORD, nullptr,
               &saved, &size);
  EXPECT_EQ(saved, 20u);
}

TEST_F(Typing, StopInTheMiddleOfABacklogTypesNothingMoreAndSaysHowManyWereDropped) {
  WriteKeyPause(50);
  Start();
  Send(std::string(30, '7'));
  ASSERT_TRUE(target.WaitForKeys(3, 5000));
  ShowWindow(window->Handle(), SW_SHOWNA);  // the field is read where the user sees it
  window->ButtonStartStop();
  ui::PumpMessages(300);  // keys already sent reach the target
  const size_t typed = target.Keys().size();
  ui::PumpMessages(400);
  EXPECT_EQ(target.Keys().size(), typed) << "keys after Stop";
  const size_t dropped = 30 - typed;
  EXPECT_EQ(window->oDCStatusText.Caption(), std::to_string(dropped) + " keys not yet typed were dropped.");
}

// Each step: what the window in front is, the bytes that come, and the report
// that follows once they are handled (0: typed, or no second word).
TEST_F(Typing, KeysThatReachNoWindowAreReportedOncePerStretchAndOncePerWindowWithHigherRights) {
  std::atomic<int> step{0};
  HWND admin1 = reinterpret_cast<HWND>(0x1234), admin2 = reinterpret_cast<HWND>(0x5678);
  struct Step {
    KeyTargetCheck check;
    const char* bytes;
    UINT report;
    WPARAM count;
  };
  const Step steps[] = {
      {{KeyTarget::NoFocus, nullptr}, "123", TypingQueue::kNoFocusReport, 3},
      {{KeyTarget::NoFocus, nullptr}, "45", 0, 0},  // the same stretch
      {{KeyTarget::Window, nullptr}, "6", 0, 0},
      {{KeyTarget::NoFocus, nullptr}, "78", TypingQueue::kNoFocusReport, 2},
      {{KeyTarget::HigherRights, admin1}, "9", TypingQueue::kHigherRightsReport, 1},
      {{KeyTarget::Window, nullptr}, "0", 0, 0},
      {{KeyTarget::HigherRights, admin1}, "11", 0, 0},  // warned about that window already
      {{KeyTarget::HigherRights, admin2}, "22", TypingQueue::kHigherRightsReport, 2},
      {{KeyTarget::OwnWindow, nullptr}, "33", 0, 0},  // as ever, without a word
  };
  Start([&] { return steps[step.load()].check; });
  for (int i = 0; i < static_cast<int>(std::size(steps)); ++i) {
    step = i;
    Send(steps[i].bytes);
    const auto [report, count] = NextReport(steps[i].report ? 3000 : 300);
    EXPECT_EQ(report, steps[i].report) << "step " << i;
    EXPECT_EQ(count, steps[i].count) << "step " << i;
  }
  EXPECT_EQ(e2e::Bytes(target.Keys()), "60") << "only where a window took them";
  window.reset();  // before `steps` goes
}

// The real check, against windows of this program and of another process of
// the same user and rights. A window of a process with higher rights needs
// Windows with UAC: that case is only seen there.
TEST_F(Typing, RealCheckTypesIntoAnotherProgramOfTheSameRightsAndNeverIntoOurOwnWindow) {
  window = std::make_unique<WinStart>(nullptr);
  KeyTargets targets(window->Handle());
  target.Focus();
  ASSERT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == target.Frame(); }, 5000));
  EXPECT_EQ(targets.Check().target, KeyTarget::Window);
  window->ShowCentered();
  SetForegroundWindow(window->Handle());
  ASSERT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == window->Handle(); }, 5000));
  EXPECT_EQ(targets.Check().target, KeyTarget::OwnWindow);
}

}  // namespace
