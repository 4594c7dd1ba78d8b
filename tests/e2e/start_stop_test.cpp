// Start and stop by button, timer and close; failed starts; hiding and the tray icon.
#include <gtest/gtest.h>

#include <utility>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Bytes;
using e2e::Program;
using e2e::RunningProgram;
namespace settings = e2e::settings;

// A window hidden while stopped keeps its icon as the way back to it.
bool IsStopped(Program& program, int icons = 0) {
  return program.ControlText(IDC_BUTTON_STARTSTOP) == "Start" && program.TrayIconCount() == icons &&
         ui::IsEnabled(program.Control(IDC_PORT)) && ui::IsEnabled(program.Control(IDC_BAUDRATE)) &&
         ui::IsEnabled(program.Control(IDC_STOPBITS));
}

using StartStop = RunningProgram;

TEST_F(StartStop, ButtonStopsThePortAndTheWatcherAndAStartAgainTypes) {
  SendAndCollect("1", 1);
  const int threadsRunning = program.ThreadCount();
  program.ClickStartStop();
  ASSERT_TRUE(ui::WaitUntil([&] { return IsStopped(program, 1); }));
  EXPECT_FALSE(IsWindowVisible(program.Main())) << "a stop leaves the window as it was";
  EXPECT_EQ(program.ControlText(IDC_STATUS_TEXT), "");
  EXPECT_TRUE(ui::WaitUntil([&] { return program.ThreadCount() < threadsRunning; }, 5000))
      << "the watcher thread ends with the port";

  device.Send("2");
  ui::PumpMessages(500);
  EXPECT_EQ(Bytes(target.Keys()), "1") << "a stopped port types nothing";

  // The window stays hidden, so the watcher thread tells when the start is through.
  const int threadsStopped = program.ThreadCount();
  program.ClickStartStop();
  ASSERT_TRUE(ui::WaitUntil([&] { return program.ThreadCount() > threadsStopped; }));
  target.Focus();
  EXPECT_EQ(Bytes(SendAndCollect("3", 2)), "13") << "the port opens again at once";
}

TEST_F(StartStop, TimerNineNineNineNineTogglesAndOtherTimersDoNothing) {
  PostMessageA(program.Main(), WM_TIMER, 1234, 0);
  ui::PumpMessages(300);
  EXPECT_EQ(program.ControlText(IDC_BUTTON_STARTSTOP), "Stop");
  EXPECT_EQ(program.TrayIconCount(), 1);

  PostMessageA(program.Main(), WM_TIMER, 9999, 0);
  EXPECT_TRUE(ui::WaitUntil([&] { return IsStopped(program, 1); }));
  const int threadsStopped = program.ThreadCount();
  PostMessageA(program.Main(), WM_TIMER, 9999, 0);
  EXPECT_TRUE(ui::WaitUntil([&] { return program.ThreadCount() > threadsStopped; }));
  EXPECT_EQ(program.TrayIconCount(), 1);
  target.Focus();
  EXPECT_EQ(Bytes(SendAndCollect("7", 1)), "7");
}

TEST_F(StartStop, ClosingWhileRunningEndsTheProgramAndFreesThePort) {
  EXPECT_TRUE(program.CloseAndWait());
  DWORD code = 1;
  program.Process().Wait(0, &code);
  EXPECT_EQ(code, 0u);

  EXPECT_TRUE(ui::WaitUntil([&] { return program.TrayIconCount() == 0; })) << "icon removed";
  Program next;
  ASSERT_TRUE(next.Start("/START"));
  ASSERT_TRUE(next.WaitUntilRunning());
  target.Focus();
  EXPECT_EQ(Bytes(SendAndCollect("9", 1)), "9");
  EXPECT_TRUE(next.CloseAndWait());
}

TEST_F(StartStop, MinimiseAndMaximiseHideAndTheTrayIconBringsTheWindowBack) {
  HWND icon = program.TrayIcon();
  ASSERT_NE(icon, nullptr);
  PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageA(icon, WM_LBUTTONUP, 0, 0);
  ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(program.Main()) != FALSE; }));
  EXPECT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == program.Main(); }, 5000));
  RECT window, work;
  GetWindowRect(program.Main(), &window);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 2);
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 2);
  EXPECT_EQ(program.ControlText(IDC_BUTTON_STARTSTOP), "Stop");

  PostMessageA(program.Main(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(ui::WaitUntil([&] { return !IsWindowVisible(program.Main()); }));
  EXPECT_FALSE(IsZoomed(program.Main()));

  program.ClickStartStop();
  ASSERT_TRUE(ui::WaitUntil([&] { return IsStopped(program, 1); })) << "stopped while hidden";
  ShowWindow(program.Main(), SW_SHOW);
  PostMessageA(program.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(ui::WaitUntil([&] { return !IsWindowVisible(program.Main()); }));
  EXPECT_FALSE(IsIconic(program.Main()));
}

// Wine lets a second handle open a COM port that is already open, so "held by
// another program" can only be shown on Windows; a port that does not exist
// fails the same way and is shown here.
TEST(FailedStart, MissingPortShowsOneErrorBoxAndStopsWithTheChoiceSaved) {
  settings::Remove();
  settings::Write("COM18", 9600, 8, 0, 0);
  Program program;
  ASSERT_TRUE(program.Start());
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(program.Main()) != FALSE; }));
  // The choice made in the window, not what the registry held, is saved.
  const std::pair<int, int> choice[] = {
      {IDC_PORT, 18}, {IDC_BAUDRATE, 8}, {IDC_DATABITS, 0}, {IDC_PARITY, 0}, {IDC_STOPBITS, 1}};
  for (const auto& [id, index] : choice) SendMessageW(program.Control(id), CB_SETCURSEL, index, 0);
  program.ClickStartStop();
  HWND box = ui::WaitForMessageBox(program.Pid());
  ASSERT_NE(box, nullptr);
  const ui::BoxSnapshot snapshot = ui::ReadMessageBox(box);
  EXPECT_EQ(snapshot.text, "CreateFile failed in Open.");
  EXPECT_EQ(snapshot.owner, program.Main());
  ui::PressButton(box, IDOK);
  ASSERT_TRUE(ui::WaitForWindowGone(box));
  EXPECT_TRUE(ui::WaitUntil([&] { return IsStopped(program); }));
  EXPECT_TRUE(IsWindowVisible(program.Main()));
  ui::PumpMessages(300);
  EXPECT_TRUE(ui::TopLevelWindows(program.Pid(), [](HWND h) {
                return IsWindowVisible(h) && ui::ClassName(h) == "#32770";
              }).empty())
      << "exactly one box";
  EXPECT_EQ(settings::ReadString("Port"), std::optional<std::string>("COM19"));
  EXPECT_EQ(settings::ReadDWord("BaudRate"), std::optional<DWORD>(19200));
  EXPECT_EQ(settings::ReadDWord("DataBits"), std::optional<DWORD>(7));
  EXPECT_EQ(settings::ReadDWord("Parity"), std::optional<DWORD>(1));
  EXPECT_EQ(settings::ReadDWord("StopBits"), std::optional<DWORD>(2));
  EXPECT_TRUE(program.CloseAndWait());
}

TEST(FailedStart, NoPortSelectedAsksForOneAndSavesNothing) {
  settings::Remove();
  Program program;
  ASSERT_TRUE(program.Start());
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(program.Main()) != FALSE; }));
  SendMessageW(program.Control(IDC_PORT), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  program.ClickStartStop();
  HWND box = ui::WaitForMessageBox(program.Pid());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ui::ReadMessageBox(box).text, "No Port set yet !");
  ui::PressButton(box, IDOK);
  ASSERT_TRUE(ui::WaitForWindowGone(box));
  EXPECT_TRUE(IsStopped(program));
  EXPECT_EQ(settings::ValueCount(), 0u);
  EXPECT_TRUE(program.CloseAndWait());
}

TEST(FailedStart, ANumberOutsideItsListRunsAndIsSavedAsThePortDefault) {
  settings::Remove();
  settings::Write(e2e::kProgramPort, 57600, 8, 0, 0);
  Program program;
  ASSERT_TRUE(program.Start("/START"));
  ASSERT_TRUE(program.WaitUntilRunning());
  EXPECT_TRUE(ui::WaitUntil([] { return settings::ReadDWord("BaudRate") == std::optional<DWORD>(9600); }, 5000))
      << "what the port really runs with";
  EXPECT_TRUE(program.CloseAndWait());
}

}  // namespace
