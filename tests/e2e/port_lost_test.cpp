// A running port whose adapter is pulled out and plugged in again.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Bytes;

constexpr const char* kPort = "COM3";
constexpr const char* kFarEnd = "\\\\.\\COM4";

class PortLost : public e2e::RunningProgram {
 protected:
  PortLost() : RunningProgram(kPort, kFarEnd) {}

  bool IsWaiting() {
    return program.ControlText(IDC_STATUS_TEXT) == "Waiting for COM3..." &&
           program.ControlText(IDC_BUTTON_STARTSTOP) == "Stop" && !ui::IsEnabled(program.Control(IDC_PORT));
  }

  // Milliseconds until `condition` held (the guard is generous; the figure is printed).
  long long MillisecondsUntil(const std::function<bool()>& condition) {
    const auto start = std::chrono::steady_clock::now();
    if (!ui::WaitUntil(condition, 15000)) return -1;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  }

  double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(program.Process().Handle(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
      return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
  }

  bool VisibleBoxes() {
    return !ui::TopLevelWindows(program.Pid(), [](HWND h) {
              return IsWindowVisible(h) && ui::ClassName(h) == "#32770";
            }).empty();
  }
};

TEST_F(PortLost, PulledAdapterIsWaitedForQuietlyAndTypingResumesWhenItIsBack) {
  SendAndCollect("1", 1);
  ASSERT_TRUE(e2e::UnplugCable(kPort));
  const long long noticed = MillisecondsUntil([&] { return IsWaiting(); });
  ASSERT_GE(noticed, 0) << program.ControlText(IDC_STATUS_TEXT);
  std::printf("[ figure ] lost port noticed after %lld ms\n", noticed);

  const double cpuBefore = CpuSeconds();
  ui::PumpMessages(4000);  // two attempts to open it again
  const double cpu = CpuSeconds() - cpuBefore;
  std::printf("[ figure ] CPU while waiting: %.2f s in 4 s\n", cpu);
  EXPECT_LT(cpu, 1.0) << "waiting must not spin";
  EXPECT_FALSE(VisibleBoxes()) << "no error box for a port that is away";
  EXPECT_TRUE(IsWaiting());
  EXPECT_EQ(program.TrayIconCount(), 1);

  ASSERT_TRUE(e2e::ReplugCable(kPort));
  const long long back =
      MillisecondsUntil([&] { return program.ControlText(IDC_STATUS_TEXT) == "Running..."; });
  ASSERT_GE(back, 0) << program.ControlText(IDC_STATUS_TEXT);
  std::printf("[ figure ] port back and running %lld ms after the plug went in\n", back);
  e2e::Device again(kFarEnd);
  ASSERT_TRUE(again.Opened());
  ASSERT_TRUE(again.Send("2"));
  EXPECT_TRUE(target.WaitForKeys(2, 10000));
  EXPECT_EQ(Bytes(target.Keys()), "12") << "typing resumes with no click";
  EXPECT_FALSE(VisibleBoxes());
}

TEST_F(PortLost, StopWhileWaitingEndsTheWaitAtOnce) {
  ASSERT_TRUE(e2e::UnplugCable(kPort));
  ASSERT_TRUE(ui::WaitUntil([&] { return IsWaiting(); }, 15000));
  program.ClickStartStop();
  ASSERT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_BUTTON_STARTSTOP) == "Start"; }, 5000));
  EXPECT_TRUE(ui::IsEnabled(program.Control(IDC_PORT)));
  EXPECT_EQ(program.ControlText(IDC_STATUS_TEXT), "");
  const int threads = program.ThreadCount();

  ASSERT_TRUE(e2e::ReplugCable(kPort));
  ui::PumpMessages(4500);  // past two retry periods
  EXPECT_EQ(program.ControlText(IDC_BUTTON_STARTSTOP), "Start") << "a stopped program does not reopen the port";
  EXPECT_LE(program.ThreadCount(), threads) << "no watcher was started";
  EXPECT_EQ(program.ControlText(IDC_STATUS_TEXT), "");
}

}  // namespace
