// Bytes from the device arrive as key presses in the focused window.
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Bytes;
using e2e::RunningProgram;
namespace settings = e2e::settings;

using Typing = RunningProgram;

TEST_F(Typing, StartFromTheCommandLineSavesTheSettingsAndWaitsInTheTray) {
  EXPECT_EQ(settings::ReadString("Port"), std::optional<std::string>(e2e::kProgramPort));
  EXPECT_EQ(settings::ReadDWord("BaudRate"), std::optional<DWORD>(9600));
  EXPECT_EQ(settings::ReadDWord("DataBits"), std::optional<DWORD>(8));
  EXPECT_EQ(settings::ReadDWord("Parity"), std::optional<DWORD>(0));
  EXPECT_EQ(settings::ReadDWord("StopBits"), std::optional<DWORD>(0));
  EXPECT_EQ(program.ControlText(IDC_BUTTON_STARTSTOP), "Stop");
  EXPECT_FALSE(ui::IsEnabled(program.Control(IDC_PORT)));
  EXPECT_FALSE(ui::IsEnabled(program.Control(IDC_STOPBITS)));
}

TEST_F(Typing, DigitsAndEnterAreTypedAndShownInTheStatusFields) {
  const auto keys = SendAndCollect("123\r", 4);
  EXPECT_EQ(Bytes(keys), "123\r");
  EXPECT_EQ(target.Text(), "123\r\n");
  EXPECT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_STATUS_TEXT) == "Read: 123\r"; }, 5000))
      << program.ControlText(IDC_STATUS_TEXT);
  EXPECT_EQ(program.ControlText(IDC_STATUS_BYTE), "4");
}

// A read for more than is waiting would hold the window for the whole read
// time-out (16 s for 30 bytes).
TEST_F(Typing, NotificationWithNothingQueuedAnswersAtOnceWithZero) {
  PostMessageA(program.Main(), WM_COMMNOTIFY, 1, 0);
  Sleep(300);  // the window takes the posted notification before the probe below
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(program.Main(), WM_NULL, 0, 0, SMTO_BLOCK, 1000, &answer), 0)
      << "the window does not answer";
  EXPECT_EQ(program.ControlText(IDC_STATUS_BYTE), "0");
  EXPECT_EQ(program.ControlText(IDC_STATUS_TEXT), "Read: ");
}

TEST_F(Typing, CapitalsTypeSmallLettersAndSmallLettersPressKeypadKeys) {
  SendAndCollect("ABC", 3);
  EXPECT_EQ(target.Text(), "abc");
  const auto keys = SendAndCollect("abc", 6);
  EXPECT_EQ(Bytes(keys), "ABCabc") << "0x61-0x63 are pressed as the keypad keys 1-3";
  EXPECT_EQ(target.Text(), "abc") << "with NumLock off the keypad keys type nothing";
}

TEST_F(Typing, BurstLongerThanOneBatchIsTypedCompletelyAndInOrder) {
  std::string burst;
  for (int i = 0; i < 50; ++i) burst += static_cast<char>('0' + i % 10);
  const auto keys = SendAndCollect(burst, 50);
  EXPECT_EQ(Bytes(keys), burst) << "30 + 20 without a further byte from the device";
}

TEST_F(Typing, LongStreamLosesNothing) {
  std::string stream;
  for (int i = 0; i < 5000; ++i) stream += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i % 36];
  const auto keys = SendAndCollect(stream, stream.size(), 120000);
  ASSERT_EQ(keys.size(), stream.size());
  EXPECT_TRUE(Bytes(keys) == stream) << "keys out of order or changed";
}

TEST_F(Typing, SystemWideKeysAreNotPressedButTheBytesAroundThemAre) {
  const std::string bytes = {'1', 0x5B, '2', 0x2C, '3', 0x5F, '4', static_cast<char>(0xAD), '5',
                             static_cast<char>(0xB7), '6', 0x5C, '7', static_cast<char>(0xA6), '8'};
  const auto keys = SendAndCollect(bytes, 8);
  EXPECT_EQ(Bytes(keys), "12345678");
  EXPECT_EQ(target.Text(), "12345678");
}

}  // namespace
