// What is said to the device: the notation of its texts, the stored
// settings and their checks, and the system-wide hotkeys.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/device_settings.h"
#include "app/device_text.h"
#include "app/globals.h"
#include "platform/hotkey.h"
#include "registry/tv_registry.h"

namespace {

TEST(DeviceText, NamesBytesAndBracesBecomeBytesAndAnythingElseIsRefusedByName) {
  struct Case {
    std::string text;
    std::optional<std::string> bytes;  // none: refused
    const char* saying;                // in the refusal
  };
  const Case cases[] = {
      {"SI{CR}{LF}", std::string("SI\r\n"), ""},
      {"{esc}P{Tab}", std::string("\x1BP\t"), ""},
      {"{STX}{ETX}{ENQ}{ACK}{NAK}", std::string("\x02\x03\x05\x06\x15"), ""},
      {"{x00}{xff}{X7f}", std::string("\x00\xFF\x7F", 3), ""},
      {"{{CR}} }", std::string("{CR}} }"), ""},
      {"\xE9t\xE9", std::string("\xE9t\xE9"), ""},
      {"", std::string(), ""},
      {std::string(kLongestCommand, 'a'), std::string(kLongestCommand, 'a'), ""},
      {"W{ENTER}", std::nullopt, "{ENTER}"},
      {"{x4}", std::nullopt, "{x4}"},
      {"{xGG}", std::nullopt, "{xGG}"},
      {"{}", std::nullopt, "{}"},
      {"P{CR", std::nullopt, "{{"},
      {std::string(kLongestCommand, 'a') + "{CR}", std::nullopt, "1024 bytes"},
  };
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_EQ(CommandBytes(c.text, &problem), c.bytes) << c.text.substr(0, 20);
    if (!c.bytes) {
      EXPECT_NE(problem.find(c.saying), std::string::npos) << problem;
    }
  }
}

TEST(DeviceText, EveryByteShownReadsBackAsItselfAndAsHex) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(CommandBytes(CommandText(all), nullptr), all);
  EXPECT_EQ(CommandText("S S 1.5 g\r\n{"), "S S 1.5 g{CR}{LF}{{");
  EXPECT_EQ(HexBytes(std::string("SI\r\n\x00\xFF", 6)), "53 49 0D 0A 00 FF");
}

class DeviceSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplicationNameSet("TV-SERKEY");
    if (SharedRegistry() == nullptr) SharedRegistryCreate();
    TVRegDeleteKey(kDeviceKey);
  }
  void TearDown() override {
    TVRegDeleteKey(kDeviceKey);
    TVRegDeleteValue("Options", "RepeatWithinMs");
  }
};

constexpr DWORD kCtrlF9 = (HOTKEYF_CONTROL << 8) | VK_F9;

TEST_F(DeviceSettingsTest, SavedUnderTheNamesAndTypesTheReadmeGives) {
  const DeviceSettings settings{"SI{CR}{LF}", kCtrlF9, 500, "{ESC}P", "{ACK}", VK_F8, 3000};
  ASSERT_TRUE(DeviceSettingsSave(settings));
  char text[64] = {};
  DWORD size = sizeof text;
  const std::string key = "Software\\Talvik\\TV-SERKEY\\Device";
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Prompt", RRF_RT_REG_SZ, nullptr, text, &size), 0);
  EXPECT_STREQ(text, "SI{CR}{LF}");
  for (auto [name, value] : {std::pair{"PromptHotkey", kCtrlF9}, std::pair{"PromptEveryMs", 500ul},
                             std::pair{"PauseHotkey", static_cast<DWORD>(VK_F8)}}) {
    DWORD stored = 0;
    size = sizeof stored;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &stored, &size), 0) << name;
    EXPECT_EQ(stored, value) << name;
  }
  EXPECT_EQ(TVRegGetDWord("Options", "RepeatWithinMs"), 3000u);
  EXPECT_EQ(DeviceSettingsLoad(), settings);
}

TEST_F(DeviceSettingsTest, ValuesStoredByHandThatCannotBeUsedAreLeftOutAndEachNamed) {
  TVRegWriteString(kDeviceKey, "Prompt", "SI{CRR}");
  TVRegWriteDWord(kDeviceKey, "PromptHotkey", HOTKEYF_CONTROL << 8);
  TVRegWriteDWord(kDeviceKey, "PromptEveryMs", 99);
  TVRegWriteString(kDeviceKey, "AtStart", std::string(kLongestCommand + 1, 'x'));
  TVRegWriteString(kDeviceKey, "AfterRecord", "{ACK}");
  TVRegWriteDWord(kDeviceKey, "PauseHotkey", 'P');
  const UsableDeviceSettings usable = DeviceSettingsForStart();
  EXPECT_EQ(usable.settings, (DeviceSettings{"", 0, 0, "", "{ACK}", 0, 0}));
  const std::string text = SkippedDeviceText(usable.problems);
  for (const char* named : {"Device value Prompt skipped: {CRR}", "PromptHotkey skipped: the hotkey has no key",
                            "PromptEveryMs skipped: 99 ms", "AtStart skipped: it is longer than 1024",
                            "PauseHotkey skipped: a key that types a character needs Ctrl or Alt"}) {
    EXPECT_NE(text.find(named), std::string::npos) << named << " in\n" << text;
  }
  EXPECT_EQ(usable.problems.size(), 5u) << text;

  const DeviceSettings same{"", kCtrlF9, 100, "", "", kCtrlF9, 0};
  ASSERT_EQ(CheckDeviceSettings(same).size(), 1u);
  EXPECT_EQ(CheckDeviceSettings(same).front().field, DeviceProblem::Field::PauseHotkey);
  EXPECT_TRUE(CheckDeviceSettings({"", VK_F9, 0, "", "", (HOTKEYF_ALT << 8) | 'P', 0}).empty())
      << "a function key alone, a letter with Alt";
}

TEST(Hotkeys, TheControlsModifiersBecomeTheSystemsAndHeldKeysAskOnce) {
  struct Case {
    DWORD form;
    bool noRepeat;
    UINT modifiers;
  };
  const Case cases[] = {
      {kCtrlF9, true, MOD_CONTROL | MOD_NOREPEAT},
      {((HOTKEYF_SHIFT | HOTKEYF_ALT) << 8) | 'P', false, MOD_SHIFT | MOD_ALT},
      {((HOTKEYF_EXT | HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8) | VK_HOME, false, MOD_CONTROL | MOD_SHIFT},
      {VK_F8, false, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HotkeyModifiers(c.form, c.noRepeat), c.modifiers) << std::hex << c.form;
  EXPECT_EQ(HotkeyName(((HOTKEYF_CONTROL | HOTKEYF_ALT) << 8) | 'P'), "Ctrl+Alt+P");
}

class HotkeyWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    for (HWND& window : windows) {
      window = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      ASSERT_NE(window, nullptr);
    }
  }
  void TearDown() override {
    for (HWND window : windows) DestroyWindow(window);
  }
  HWND windows[2] = {};
};

TEST_F(HotkeyWindows, ACombinationHeldElsewhereIsRefusedSayingSoAndFreedWhenLetGo) {
  const DWORD form = ((HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT) << 8) | VK_F7;
  SystemHotkey holder;
  ASSERT_TRUE(holder.Register(windows[0], 7, form)) << holder.ErrorDesc();
  SystemHotkey second;
  EXPECT_FALSE(second.Register(windows[1], 7, form));
  EXPECT_EQ(second.ErrorDesc(), "Ctrl+Shift+Alt+F7 is already used by another program.");
  holder.Unregister();
  EXPECT_TRUE(second.Register(windows[1], 7, form)) << second.ErrorDesc();
  EXPECT_FALSE(second.Register(windows[1], 7, HOTKEYF_CONTROL << 8));
  EXPECT_FALSE(second.Registered()) << "a new registration lets the old one go first";
}

// Windows Vista knows no MOD_NOREPEAT (only Windows can show it): the
// hotkey is registered without it.
UINT lastModifiers = 0;
BOOL WINAPI VistaRegisterHotKey(HWND, int, UINT modifiers, UINT) {
  lastModifiers = modifiers;
  if (modifiers & MOD_NOREPEAT) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

TEST_F(HotkeyWindows, WithoutNoRepeatInTheSystemTheHotkeyIsRegisteredWithoutIt) {
  const RegisterHotKeyFunction old = UseRegisterHotKey(&VistaRegisterHotKey);
  SystemHotkey hotkey;
  EXPECT_TRUE(hotkey.Register(windows[0], 1, kCtrlF9)) << hotkey.ErrorDesc();
  EXPECT_EQ(lastModifiers, static_cast<UINT>(MOD_CONTROL));
  UseRegisterHotKey(old);
}

}  // namespace
