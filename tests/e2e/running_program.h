#pragma once
// A program started with "/START" on the null-modem port, a typing target in
// the foreground and the device on the far end: the state users run in.
#include <gtest/gtest.h>

#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace e2e {

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::Remove();
    // Only the port: the window shows the default line settings, and only
    // the start can have put them into the registry.
    settings::WriteString("Port", port_);
    BeforeStart();
    ASSERT_TRUE(target.Started());
    ASSERT_TRUE(device.Opened()) << "device end of the null-modem";
    // The icon of the previous program may take a moment to go.
    ASSERT_TRUE(ui::WaitUntil([&] { return program.TrayIconCount() == 0; }));
    ASSERT_TRUE(program.Start("/start"));
    ASSERT_TRUE(program.WaitUntilRunning()) << "a started program hides its window";
    EXPECT_EQ(program.TrayIconCount(), 1);
    target.Focus();
  }

  void TearDown() override {
    if (program.Main()) {
      EXPECT_TRUE(program.CloseAndWait());
    }
  }

  // Settings of a fixture that differ from the first run's, written before the start.
  virtual void BeforeStart() {}

  // Sends `bytes` and waits for `expectedKeys` key presses at the target.
  std::vector<std::uint8_t> SendAndCollect(const std::string& bytes, size_t expectedKeys, DWORD timeoutMs = 20000) {
    EXPECT_TRUE(device.Send(bytes));
    EXPECT_TRUE(target.WaitForKeys(expectedKeys, timeoutMs)) << "got " << target.Keys().size() << " keys";
    ui::PumpMessages(200);  // anything extra would show up now
    return target.Keys();
  }

  // The port under test and the device's end of its cable; keysOnly: the
  // target logs keys without typing them (fast, for long bursts).
  explicit RunningProgram(const char* port = kProgramPort, const char* devicePort = kDevicePort,
                          bool keysOnly = false)
      : port_(port), target(keysOnly), device(devicePort) {}

  const char* port_;
  TypingTarget target;
  Device device;
  Program program;
};

}  // namespace e2e
