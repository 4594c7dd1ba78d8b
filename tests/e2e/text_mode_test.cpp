// "Type as text": the device's characters arrive as themselves.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Bytes;
namespace settings = e2e::settings;

class TextMode : public e2e::RunningProgram {
 protected:
  void BeforeStart() override {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    const DWORD on = 1;
    RegSetValueExA(key, "TypeText", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
  }
};

TEST_F(TextMode, MixedCaseAndPunctuationArriveExactlyWithOneEnterForCrLf) {
  const std::string line = "Hello-1.5 ABC_x%&(/";
  const auto keys = SendAndCollect(line + "\r\n", line.size() + 1);
  EXPECT_EQ(target.Text(), line + "\r\n");
  EXPECT_EQ(std::count(keys.begin(), keys.end(), VK_RETURN), 1) << "CR LF is one Enter";
  EXPECT_EQ(keys.size(), line.size() + 1);
}

TEST_F(TextMode, CrAloneLfAloneAndCrLfAcrossBatchesEachGiveOneEnterAndControlsTypeNothing) {
  SendAndCollect("1\r", 2);
  ui::PumpMessages(300);  // the LF comes in a batch of its own
  SendAndCollect(std::string("\n2\n3\t\x00\x07\x7F" "4\x1B", 11), 8);
  EXPECT_EQ(target.Text(), "1\r\n2\r\n3\t4");
  const auto keys = target.Keys();
  ASSERT_EQ(keys.size(), 8u);
  EXPECT_EQ(keys.back(), VK_ESCAPE);
}

TEST_F(TextMode, BytesAboveAsciiArriveAsTheirCodePageCharacters) {
  const std::string bytes = "\xE9\xC4\xFC\xB5";
  SendAndCollect(bytes, bytes.size());
  EXPECT_EQ(target.Text(), bytes);
}

TEST_F(TextMode, SwitchedOffWhileRunningTheSameBytesArePressedAsKeysAgain) {
  SendAndCollect("ab", 2);
  EXPECT_EQ(target.Text(), "ab");
  PostMessageA(program.Main(), WM_SYSCOMMAND, IDM_TYPE_TEXT, 0);
  ASSERT_TRUE(ui::WaitUntil([] {
    HKEY key = nullptr;
    DWORD value = 1, size = sizeof value;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", 0, KEY_READ, &key) != 0) return false;
    RegQueryValueExA(key, "TypeText", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value == 0;
  }, 5000));
  const auto keys = SendAndCollect("ab", 4);
  EXPECT_EQ(Bytes(std::vector<std::uint8_t>(keys.begin() + 2, keys.end())), "ab") << "keypad keys 1 and 2";
  EXPECT_EQ(target.Text(), "ab") << "with NumLock off the keypad keys type nothing";
  EXPECT_EQ(settings::ReadString("Port"), std::optional<std::string>(e2e::kProgramPort));
}

}  // namespace
