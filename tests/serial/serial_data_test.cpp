// Serial: Read, Write and ReceiverPending against the device on COM6.
#include <gtest/gtest.h>

#include "tests/serial/cable.h"

namespace {

std::string AllByteValues() {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  return all;
}

bool PendingReaches(Serial& serial, std::uint32_t count) {
  for (int i = 0; i < 300 && serial.ReceiverPending() < count; ++i) Sleep(10);
  return serial.ReceiverPending() == count;
}

class SerialData : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.IsOpen());
    ASSERT_TRUE(cable::OpenShort(serial, cable::kPort)) << serial.ErrorDesc();
  }
  void TearDown() override { serial.Close(); }
  cable::Device device{cable::kPeer};
  Serial serial;
};

TEST_F(SerialData, EveryByteValueCrossesUnchangedBothWays) {
  const std::string all = AllByteValues() + AllByteValues();
  device.Send(all);
  EXPECT_EQ(cable::ReadAll(serial, all.size()), all);
  EXPECT_EQ(serial.Write(all), all.size());
  EXPECT_EQ(device.Receive(all.size()), all);
  const std::string zeros("A\0\0B\0", 5);
  device.Send(zeros);
  EXPECT_EQ(cable::ReadAll(serial, 5), zeros);
}

TEST_F(SerialData, ReadTakesAtMostItsCountAndCountsWhatWaits) {
  device.Send("xyz");
  ASSERT_TRUE(PendingReaches(serial, 3));
  EXPECT_EQ(serial.Read(), "x");
  EXPECT_EQ(serial.ReceiverPending(), 2u);
  EXPECT_EQ(serial.Read(0), "");
  EXPECT_EQ(serial.ReceiverPending(), 2u) << "Read(0) took bytes";
  device.Send("0123456789");
  ASSERT_TRUE(PendingReaches(serial, 12));
  EXPECT_EQ(serial.Read(12), "yz0123456789");
  EXPECT_EQ(serial.ReceiverPending(), 0u);
  EXPECT_EQ(serial.Read(5), "") << "a silent line must end the read empty";
}

TEST_F(SerialData, EmptyWriteRecordsNothing) {
  EXPECT_EQ(serial.Write(""), 0u);
  EXPECT_EQ(serial.ErrorDesc(), "");
}

TEST(SerialClosed, ReadWriteAndPendingFailAsResults) {
  Serial serial;
  EXPECT_EQ(serial.ReceiverPending(), 0u);
  EXPECT_EQ(serial.Read(10), "");
  EXPECT_EQ(serial.ErrorDesc(), "ReadFile failed in Serial:ReadCommBlock(2).");
  EXPECT_EQ(serial.ErrorCode(), std::to_string(ERROR_INVALID_HANDLE));
  EXPECT_EQ(serial.Write("abc"), 0u);
  EXPECT_EQ(serial.ErrorDesc(), "WriteFile failed in Serial:Write.");
  EXPECT_EQ(serial.ErrorCode(), std::to_string(ERROR_INVALID_HANDLE));
}

// Nobody reads COM8 and there is no write time-out: a megabyte cannot leave
// within the second Write waits. It is cancelled and awaited before its
// buffer goes; the port keeps working.
TEST(SerialJam, WriteStillPendingAfterASecondIsCancelled) {
  cable::Device device(cable::kSparePeer);
  Serial serial;
  ASSERT_TRUE(cable::OpenShort(serial, cable::kSpare));
  serial.WriteTimeoutConstant(0);
  ASSERT_TRUE(serial.SetTimeOut());
  EXPECT_EQ(serial.Write(std::string(1 << 20, 'j')), 0u);
  EXPECT_EQ(serial.ErrorDesc(), "Error writing to device.");
  EXPECT_EQ(serial.ErrorCode(), std::to_string(ERROR_IO_PENDING));
  EXPECT_LT(device.Drain().size(), 1u << 20);
  EXPECT_EQ(serial.Write("after"), 5u);
  EXPECT_EQ(device.Receive(5), "after");
  EXPECT_TRUE(serial.Close());
}

}  // namespace
