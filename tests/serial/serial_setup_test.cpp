// Serial: properties, Open, Close and the driver records, on COM5 <-> COM6.
#include <gtest/gtest.h>

#include "tests/serial/cable.h"

namespace {

TEST(SerialSetters, AcceptExactlyTheirSetsAndRefuseSilently) {
  Serial serial;
  const DWORD rates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 128000, 256000};
  for (DWORD rate : {0ul, 57600ul, 115200ul, 9601ul, 4294967295ul}) {
    serial.Baud(300);
    serial.Baud(rate);
    EXPECT_EQ(serial.Baud(), 300u) << rate << " taken";
  }
  for (DWORD rate : rates) {
    serial.Baud(300);
    serial.Baud(rate);
    EXPECT_EQ(serial.Baud(), rate);
  }
  // 263 and 256 would pass as 7 and 0 if the setters looked at a byte only.
  const struct {
    void (Serial::*set)(std::uint32_t);
    std::uint8_t (Serial::*get)() const;
    std::uint32_t first, last;
  } byteSettings[] = {{&Serial::ByteSize, &Serial::ByteSize, 7, 8},
                      {&Serial::Parity, &Serial::Parity, 0, 4},
                      {&Serial::StopBits, &Serial::StopBits, 0, 2}};
  for (const auto& s : byteSettings) {
    for (std::uint32_t value : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 255u, 256u, 263u}) {
      const std::uint32_t before = value == s.first ? s.last : s.first;
      (serial.*s.set)(before);
      (serial.*s.set)(value);
      const bool accepted = value >= s.first && value <= s.last;
      EXPECT_EQ((serial.*s.get)(), accepted ? value : before) << "value " << value;
    }
  }
  serial.ReceiveBufferSize(65535);
  serial.ReceiveBufferSize(65536);
  serial.TransmitBufferSize(0);
  EXPECT_EQ(serial.ReceiveBufferSize(), 65535);
  EXPECT_EQ(serial.TransmitBufferSize(), 0);
  EXPECT_EQ(serial.ErrorDesc(), "");
  EXPECT_EQ(serial.ErrorCode(), "0");
}

TEST(SerialOpen, DefaultsOverwriteEarlierSettingsAndReachTheDriver) {
  Serial serial;
  serial.Baud(256000);
  serial.ByteSize(7);
  serial.Parity(2);
  serial.StopBits(2);
  serial.ReadTimeoutConstant(5);
  serial.WriteTimeoutMultiplier(9);
  ASSERT_TRUE(serial.Open(cable::kPort)) << serial.ErrorDesc();
  EXPECT_TRUE(serial.IsOpen());
  EXPECT_EQ(serial.Baud(), 9600u);
  EXPECT_EQ(serial.ByteSize(), 8);
  EXPECT_EQ(serial.Parity(), 0);
  EXPECT_EQ(serial.StopBits(), 0);
  serial.Baud(110);
  serial.ReadIntervalTimeout(1);
  ASSERT_TRUE(serial.GetProtocol());
  ASSERT_TRUE(serial.GetTimeOut());
  EXPECT_EQ(serial.Baud(), 9600u) << "9600 did not reach the driver";
  EXPECT_EQ(serial.ReadIntervalTimeout(), MAXDWORD);
  EXPECT_EQ(serial.ReadTimeoutMultiplier(), 500u);
  EXPECT_EQ(serial.ReadTimeoutConstant(), 1000u);
  EXPECT_EQ(serial.WriteTimeoutMultiplier(), 0u);
  EXPECT_EQ(serial.WriteTimeoutConstant(), 1000u);
  EXPECT_TRUE(serial.Close());
}

// A pty keeps the rate but always reports 8 data bits and no parity, so the
// other three line settings can only be read back on a real port (Windows).
TEST(SerialOpen, SettingsReachTheDriverOnlyThroughSetProtocolAndSetTimeOut) {
  Serial serial;
  ASSERT_TRUE(serial.Open(cable::kPort));
  for (DWORD rate : {19200ul, 2400ul}) {
    serial.Baud(rate);
    ASSERT_TRUE(serial.SetProtocol()) << serial.ErrorDesc();
    serial.Baud(4800);  // in memory only
    ASSERT_TRUE(serial.GetProtocol());
    EXPECT_EQ(serial.Baud(), rate);
  }
  serial.ReadIntervalTimeout(10);
  serial.ReadTimeoutMultiplier(20);
  serial.ReadTimeoutConstant(30);
  serial.WriteTimeoutMultiplier(40);
  serial.WriteTimeoutConstant(50);
  ASSERT_TRUE(serial.SetTimeOut());
  serial.ReadTimeoutConstant(999);
  ASSERT_TRUE(serial.GetTimeOut());
  EXPECT_EQ(serial.ReadIntervalTimeout(), 10u);
  EXPECT_EQ(serial.ReadTimeoutMultiplier(), 20u);
  EXPECT_EQ(serial.ReadTimeoutConstant(), 30u);
  EXPECT_EQ(serial.WriteTimeoutMultiplier(), 40u);
  EXPECT_EQ(serial.WriteTimeoutConstant(), 50u);
  EXPECT_EQ(serial.ErrorDesc(), "");
  EXPECT_TRUE(serial.Close());
}

TEST(SerialOpen, MissingPortFailsWithTheSystemCode) {
  const HANDLE direct =
      CreateFileA("\\\\.\\COM44", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const std::string expectedCode = std::to_string(GetLastError());
  ASSERT_EQ(direct, INVALID_HANDLE_VALUE);
  for (const char* name : {"COM44", "\\\\.\\COM44"}) {
    Serial serial;
    EXPECT_FALSE(serial.Open(name));
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_EQ(serial.ErrorDesc(), "CreateFile failed in Open.");
    EXPECT_EQ(serial.ErrorCode(), expectedCode);
    // Close and the driver calls of a closed port leave that failure alone.
    EXPECT_FALSE(serial.Close());
    EXPECT_FALSE(serial.SetProtocol() || serial.GetProtocol() || serial.SetTimeOut() || serial.GetTimeOut());
    EXPECT_EQ(serial.ErrorDesc(), "CreateFile failed in Open.");
  }
}

// Windows opens COM10 and up only through \\.\ (Wine behaves the same).
TEST(SerialOpen, BareNamesBelowAndAboveTenBothOpenTheRightDevice) {
  for (auto [port, peer] : {std::pair{"COM1", "COM2"}, std::pair{"COM15", "COM16"}}) {
    cable::Device device(peer);
    ASSERT_TRUE(device.IsOpen()) << peer;
    Serial serial;
    ASSERT_TRUE(cable::OpenShort(serial, port)) << port << ": " << serial.ErrorDesc();
    EXPECT_EQ(serial.Write(port), std::string(port).size());
    EXPECT_EQ(device.Receive(std::string(port).size()), port);
    EXPECT_TRUE(serial.Close());
  }
}

TEST(SerialOpen, NonCommDeviceLeavesItsHandleOpenUntilClose) {
  const int before = cable::HandleCount();
  Serial serial;
  EXPECT_FALSE(serial.Open("NUL"));
  EXPECT_FALSE(serial.IsOpen());
  EXPECT_EQ(serial.ErrorDesc(), "SetupComm failed in Open.");
  EXPECT_EQ(cable::HandleCount(), before + 1);
  EXPECT_TRUE(serial.Close());
  EXPECT_EQ(cable::HandleCount(), before);
}

TEST(SerialClose, ReleasesThePortForTheNextObject) {
  const int before = cable::HandleCount();
  for (int round = 0; round < 2; ++round) {
    Serial serial;
    ASSERT_TRUE(serial.Open(cable::kPort));
    ASSERT_TRUE(serial.Open(cable::kPort)) << "reopening the same object";
    EXPECT_TRUE(serial.Close());
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_FALSE(serial.Close()) << "second close";
    EXPECT_EQ(serial.ErrorDesc(), "");
  }
  EXPECT_EQ(cable::HandleCount(), before);
}

// Wine does not enforce exclusive opens of COM devices; only Windows shows this.
TEST(SerialOpen, PortHeldByAnotherHandleIsRefusedOnWindows) {
  if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr)
    GTEST_SKIP() << "Wine lets a second handle open a port opened without sharing";
  Serial holder, second;
  ASSERT_TRUE(holder.Open(cable::kPort));
  EXPECT_FALSE(second.Open(cable::kPort));
  EXPECT_EQ(second.ErrorDesc(), "CreateFile failed in Open.");
  EXPECT_EQ(second.ErrorCode(), std::to_string(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(holder.Close());
}

TEST(SerialFlush, OnAClosedPortRecordsPurgeCommFailure) {
  Serial serial;
  EXPECT_FALSE(serial.Flush());
  EXPECT_EQ(serial.ErrorDesc(), "PurgeComm failed.");
  EXPECT_EQ(serial.ErrorCode(), std::to_string(ERROR_INVALID_HANDLE));
}

}  // namespace
