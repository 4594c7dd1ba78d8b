#include <gtest/gtest.h>

#include <windows.h>

#include "util/key_state.h"

namespace {

// Sets the thread's keyboard state for one test and restores it after.
class KeyState : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(GetKeyboardState(saved_)); }
  void TearDown() override { SetKeyboardState(saved_); }
  void Set(std::initializer_list<std::pair<int, BYTE>> keys) {
    BYTE state[256] = {};
    for (const auto& [vk, bits] : keys) state[vk] = bits;
    ASSERT_TRUE(SetKeyboardState(state));
  }

 private:
  BYTE saved_[256] = {};
};

struct KeyCase {
  const char* name;
  bool (*test)();
  int vk;
  BYTE bit;
};

TEST_F(KeyState, EachTestReadsItsKeyAndBit) {
  const KeyCase cases[] = {
      {"IsAltControlPress", IsAltControlPress, VK_MENU, 0x80},
      {"IsKeyControlPress", IsKeyControlPress, VK_CONTROL, 0x80},
      {"IsKeyShiftPress", IsKeyShiftPress, VK_SHIFT, 0x80},
      {"IsShiftControlPress", IsShiftControlPress, VK_SHIFT, 0x80},
      {"IsCapLockOn", IsCapLockOn, VK_CAPITAL, 0x01},
      {"IsKeyBackspacePress", IsKeyBackspacePress, VK_BACK, 0x80},
      {"IsKeyDeletePress", IsKeyDeletePress, VK_DELETE, 0x80},
      {"IsKeyEnterPress", IsKeyEnterPress, VK_RETURN, 0x80},
      {"IsKeyTabPress", IsKeyTabPress, VK_TAB, 0x80},
  };
  for (const KeyCase& c : cases) {
    Set({});
    EXPECT_FALSE(c.test()) << c.name << " with no key down";
    Set({{c.vk, c.bit}});
    EXPECT_TRUE(c.test()) << c.name << " with its key's bit set";
    Set({{c.vk, static_cast<BYTE>(c.bit ^ 0x81)}});
    EXPECT_FALSE(c.test()) << c.name << " with only the other bit of its key";
  }
}

TEST_F(KeyState, PureMeansNeitherCtrlNorShift) {
  Set({});
  EXPECT_TRUE(IsKeyPurePress());
  Set({{VK_MENU, 0x80}});
  EXPECT_TRUE(IsKeyPurePress()) << "Alt does not count";
  Set({{VK_CONTROL, 0x80}});
  EXPECT_FALSE(IsKeyPurePress());
  Set({{VK_SHIFT, 0x80}});
  EXPECT_FALSE(IsKeyPurePress());
  Set({{VK_CAPITAL, 0x01}});
  EXPECT_TRUE(IsKeyPurePress());
}

}  // namespace
