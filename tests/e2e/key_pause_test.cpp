// "Pause between keys": a slow receiver gets the keys one by one, while the
// program keeps reading the port and answering.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

class KeyPause : public e2e::RunningProgram {
 protected:
  void BeforeStart() override {
    const DWORD ms = 20;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "KeyPauseMs", REG_DWORD, &ms,
                    sizeof ms);
  }
  void TearDown() override {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "KeyPauseMs");
    RunningProgram::TearDown();
  }
  // A window that only logs keys: an edit's own pace (tens of ms a key on a
  // busy machine) would hide a missing pause.
  e2e::TypingTarget logger{true};
};

TEST_F(KeyPause, ThirtyKeysArriveInOrderAtThePaceWhileTheWindowAnswersAndCountsThemDown) {
  const std::string keys = "0123456789ABCDEFGHIJKLMNOPQRST";
  logger.Focus();
  ASSERT_TRUE(device.Send(keys));
  ASSERT_TRUE(logger.WaitForKeys(3, 5000));
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(program.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &answer), 0)
      << "the window must answer within 100 ms while keys wait";
  EXPECT_TRUE(ui::WaitUntil(
      [&] { return program.ControlText(IDC_STATUS_TEXT).find(" keys to type") != std::string::npos; }, 2000))
      << program.ControlText(IDC_STATUS_TEXT);
  ASSERT_TRUE(logger.WaitForKeys(keys.size(), 10000));
  EXPECT_EQ(e2e::Bytes(logger.Keys()), keys);
  const auto arrivals = logger.Arrivals();
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> gaps;
  for (size_t i = 1; i < arrivals.size(); ++i) {
    gaps.push_back(1000.0 * static_cast<double>(arrivals[i].counter - arrivals[i - 1].counter) /
                   static_cast<double>(frequency.QuadPart));
  }
  std::sort(gaps.begin(), gaps.end());
  EXPECT_GE(gaps[gaps.size() / 2], 18.0) << "median gap between keys, pause 20 ms";
  EXPECT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_STATUS_TEXT).rfind("Read: ", 0) == 0; }, 2000))
      << "the last batch again once all are typed: " << program.ControlText(IDC_STATUS_TEXT);
}

}  // namespace

namespace {

// Closing drops what is left; the icon stays a moment to say how many.
TEST_F(KeyPause, ClosingInTheMiddleOfABacklogDropsTheRestAndEnds) {
  auto balloon = [] {
    return !ui::TopLevelWindows(0, [](HWND h) {
              return IsWindowVisible(h) && ui::ClassName(h) == "tooltips_class32";
            }).empty();
  };
  ASSERT_TRUE(ui::WaitUntil([&] { return !balloon(); }, 30000)) << "the start's balloon is gone";
  logger.Focus();
  ASSERT_TRUE(device.Send(std::string(30, '5')));
  ASSERT_TRUE(logger.WaitForKeys(3, 5000));
  PostMessageA(program.Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(ui::WaitUntil(balloon, 3000)) << "a balloon says what was dropped";
  const size_t typed = logger.Keys().size();
  EXPECT_TRUE(program.Process().Wait(20000));
  EXPECT_LT(typed, 30u);
  EXPECT_EQ(logger.Keys().size(), typed) << "keys after closing";
}

}  // namespace
