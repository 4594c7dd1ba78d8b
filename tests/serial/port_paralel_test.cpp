// Port and Paralel. LPT1 is wired to COM9 (scripts/nullmodem.sh): what
// Paralel writes, the test reads there.
#include <gtest/gtest.h>

#include "serial/paralel.h"
#include "tests/harness/ui.h"
#include "tests/serial/cable.h"

namespace {

TEST(PortErrorPair, NewObjectsReportNoFailureAndCodeIsDecimalText) {
  Port port;
  Paralel paralel;
  Serial serial;
  for (const Port* p : {static_cast<const Port*>(&port), static_cast<const Port*>(&paralel),
                        static_cast<const Port*>(&serial)}) {
    EXPECT_EQ(p->ErrorDesc(), "");
    EXPECT_EQ(p->ErrorCode(), "0");
  }
  port.ErrorCode(-2147024891);
  EXPECT_EQ(port.ErrorCode(), "-2147024891");
  EXPECT_TRUE(port.Open("COM5") && port.Close() && port.SetProtocol());
  EXPECT_EQ(port.Write("abc"), 0u);
}

TEST(PortNames, BareNumberedNamesGoThroughTheDeviceNamespace) {
  const struct {
    const char* name;
    const char* prefix;
    const char* expected;
  } cases[] = {
      {"COM1", "COM", "\\\\.\\COM1"},     {"COM15", "COM", "\\\\.\\COM15"}, {"com20", "COM", "\\\\.\\com20"},
      {"LPT2", "LPT", "\\\\.\\LPT2"},     {"\\\\.\\COM15", "COM", "\\\\.\\COM15"}, {"COM", "COM", "COM"},
      {"COM1x", "COM", "COM1x"},           {"LPT1", "COM", "LPT1"},          {"C:\\port.txt", "COM", "C:\\port.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(DeviceNamespaceName(c.name, c.prefix), c.expected) << c.name;
}

TEST(Paralel, FailedOpenShowsOneUnownedBoxAndRecordsTheSystemCode) {
  const HANDLE direct = CreateFileA("\\\\.\\LPT7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const std::string expectedCode = std::to_string(GetLastError());
  ASSERT_EQ(direct, INVALID_HANDLE_VALUE) << "LPT7 must not exist for this test";
  Paralel paralel;
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(paralel.Open("LPT7"));
  const ui::BoxSnapshot shown = box.get();
  ASSERT_NE(shown.hwnd, nullptr) << "no error box";
  EXPECT_EQ(shown.text, "Failed to open LPT7 port !");
  EXPECT_EQ(shown.owner, nullptr);
  EXPECT_EQ(ui::WaitForMessageBox(GetCurrentProcessId(), 300), nullptr) << "a second box appeared";
  EXPECT_FALSE(paralel.IsOpen());
  EXPECT_EQ(paralel.ErrorDesc(), "Failed to open LPT7 port !");
  EXPECT_EQ(paralel.ErrorCode(), expectedCode);
}

TEST(Paralel, WritesEveryByteValueAndClosesOnce) {
  cable::Device printer("COM9");
  ASSERT_TRUE(printer.IsOpen());
  Paralel paralel;
  ASSERT_TRUE(paralel.Open("LPT1"));
  EXPECT_TRUE(paralel.IsOpen());
  EXPECT_TRUE(paralel.SetProtocol());
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(paralel.Write(""), 0u);
  EXPECT_EQ(paralel.Write(all), 256u);
  EXPECT_EQ(printer.Receive(256), all);
  EXPECT_EQ(paralel.ErrorDesc(), "") << "empty write recorded a failure";
  EXPECT_TRUE(paralel.Close());
  EXPECT_FALSE(paralel.IsOpen());
  EXPECT_FALSE(paralel.Close());
  EXPECT_EQ(paralel.ErrorDesc(), "");
  EXPECT_EQ(paralel.Write("x"), 0u);
  EXPECT_EQ(paralel.ErrorDesc(), "WriteFile failed in Paralel:Write.");
  EXPECT_EQ(paralel.ErrorCode(), std::to_string(ERROR_INVALID_HANDLE));
}

// Nobody reads COM9, so a megabyte cannot leave within the second allowed:
// the write is cancelled (its buffer outlives the cancellation), and the
// device keeps working afterwards.
TEST(Paralel, WriteStillPendingAfterASecondIsCancelled) {
  cable::Device printer("COM9");
  Paralel paralel;
  ASSERT_TRUE(paralel.Open("LPT1"));
  EXPECT_EQ(paralel.Write(std::string(1 << 20, 'p')), 0u);
  EXPECT_EQ(paralel.ErrorDesc(), "Error writing to device.");
  EXPECT_EQ(paralel.ErrorCode(), std::to_string(ERROR_IO_PENDING));
  EXPECT_LT(printer.Drain().size(), 1u << 20);
  EXPECT_EQ(paralel.Write("after"), 5u);
  EXPECT_EQ(printer.Receive(5), "after");
}

}  // namespace
