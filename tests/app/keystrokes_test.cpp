#include "app/keystrokes.h"

#include <gtest/gtest.h>

#include "app/port_settings.h"

namespace {

TEST(SystemWideKeys, OnlyTheKeysThatActOutsideTheFocusedWindowAreHeldBack) {
  std::string blocked;
  for (int vk = 0; vk < 256; ++vk) {
    if (IsSystemWideKey(static_cast<std::uint8_t>(vk))) blocked += static_cast<char>(vk);
  }
  std::string expected = {0x2C, 0x5B, 0x5C, 0x5F};
  for (int vk = 0xA6; vk <= 0xB7; ++vk) expected += static_cast<char>(vk);
  EXPECT_EQ(blocked, expected);
}

TEST(Batches, TakeWhatIsWaitingButNeverMoreThanTheLimit) {
  EXPECT_EQ(BatchSize(0, 30), 0u);
  EXPECT_EQ(BatchSize(4, 30), 4u);
  EXPECT_EQ(BatchSize(30, 30), 30u);
  EXPECT_EQ(BatchSize(5000, 30), 30u);
  EXPECT_TRUE(AnotherBatchDue(30, 30, 20));
  EXPECT_FALSE(AnotherBatchDue(4, 4, 0));
  EXPECT_FALSE(AnotherBatchDue(12, 0, 12)) << "a read that took nothing would post itself without end";
  EXPECT_TRUE(AnotherBatchDue(0, 0, 1)) << "a byte that came during a stale batch waits for the next one";
}

TEST(SettingInUse, AMissingSelectionRunsAndSavesWhatTheOpenedPortHas) {
  EXPECT_EQ(SettingInUse(std::nullopt, kDefaultBaud), 9600u);
  EXPECT_EQ(SettingInUse(256000L, kDefaultBaud), 256000u);
  EXPECT_EQ(SettingInUse(0L, kDefaultParity), 0u);
}

}  // namespace
