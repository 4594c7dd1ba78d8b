// Talking to the device end to end: the "Device..." dialog as a user drives it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Program;
namespace settings = e2e::settings;

constexpr const char* kDevicePath = "Software\\Talvik\\TV-SERKEY\\Device";

std::optional<std::string> DeviceString(const char* name) {
  char value[2048] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kDevicePath, name, RRF_RT_REG_SZ, nullptr, value, &size) != 0) return {};
  return value;
}

std::optional<DWORD> DeviceDWord(const char* path, const char* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != 0) return {};
  return value;
}

class DeviceDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::Remove();
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
  }
  void TearDown() override { EXPECT_TRUE(program.CloseAndWait()); }

  HWND Open() {
    PostMessageA(program.Main(), WM_SYSCOMMAND, IDM_DEVICE, 0);
    return dialog = ui::WaitForWindowTitled(program.Pid(), "Device");
  }
  void Set(int id, const wchar_t* text) {
    SendMessageW(ui::Child(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  void SetHotkey(int id, DWORD form) { SendMessageW(ui::Child(dialog, id), HKM_SETHOTKEY, form, 0); }
  // OK refused: the box's text, with the focus on the field at fault afterwards.
  std::string Refusal(int field) {
    ui::PressButton(dialog, IDOK);
    HWND box = ui::WaitForWindow(program.Pid(), [&](HWND h) { return h != dialog && ui::ClassName(h) == "#32770"; });
    if (box == nullptr) return "<no box>";
    const std::string text = ui::ReadMessageBox(box).text;
    ui::PressButton(box, IDOK);
    EXPECT_TRUE(ui::WaitForWindowGone(box));
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    EXPECT_TRUE(ui::WaitUntil([&] {
      return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus) &&
             focus.hwndFocus == ui::Child(dialog, field);
    }, 5000)) << text;
    return text;
  }

  Program program;
  HWND dialog = nullptr;
};

TEST_F(DeviceDialog, EachBadFieldIsRefusedByNameOkSavesAllAndSendNowNeedsTheRunningPort) {
  ASSERT_NE(Open(), nullptr);
  // One field wrong at a time, put right again after its refusal.
  struct Bad {
    int id;
    const wchar_t* text;  // null: a hotkey field
    DWORD hotkey;
    const wchar_t* goodText;
    DWORD goodHotkey;
    const char* saying;
  };
  const DWORD ctrlF9 = (HOTKEYF_CONTROL << 8) | VK_F9;
  const Bad bad[] = {
      {IDC_DEVICE_PROMPT, L"SI{CRR}", 0, L"SI", 0, "\"Prompt\" cannot be used: {CRR}"},
      {IDC_DEVICE_EVERY, L"50", 0, L"0", 0, "\"Ask every (ms)\" cannot be used: 50 ms is too short"},
      {IDC_DEVICE_AFTER_RECORD, L"{ACK", 0, L"", 0, "\"After each record\" cannot be used: a \"{\" has no \"}\""},
      {IDC_DEVICE_PROMPT_HOTKEY, nullptr, HOTKEYF_CONTROL << 8, nullptr, ctrlF9,
       "\"Prompt hotkey\" cannot be used: the hotkey has no key"},
      {IDC_DEVICE_PAUSE_HOTKEY, nullptr, ctrlF9, nullptr, 0,
       "\"Pause typing hotkey\" cannot be used: the prompt and the pause"},
      {IDC_DEVICE_REPEAT, L"1x", 0, L"0", 0, "\"Drop repeats within (ms)\" cannot be used: \"1x\" is not a number"},
  };
  SetHotkey(IDC_DEVICE_PROMPT_HOTKEY, ctrlF9);
  for (const Bad& b : bad) {
    if (b.text != nullptr) Set(b.id, b.text);
    if (b.text == nullptr) SetHotkey(b.id, b.hotkey);
    const std::string refusal = Refusal(b.id);
    EXPECT_EQ(refusal.rfind(b.saying, 0), 0u) << refusal;
    EXPECT_FALSE(DeviceString("Prompt").has_value()) << "nothing saved";
    if (b.text != nullptr) Set(b.id, b.goodText);
    if (b.text == nullptr) SetHotkey(b.id, b.goodHotkey);
  }
  Set(IDC_DEVICE_PROMPT, L"SI{CR}{LF}");
  ui::PressButton(dialog, IDC_DEVICE_SEND_NOW);
  EXPECT_TRUE(ui::WaitUntil([&] {
    return ui::WindowTextW(ui::Child(dialog, IDC_DEVICE_ANSWER)).rfind("The port is not running", 0) == 0;
  }, 5000)) << ui::WindowTextW(ui::Child(dialog, IDC_DEVICE_ANSWER));

  Set(IDC_DEVICE_EVERY, L"500");
  Set(IDC_DEVICE_AT_START, L"{ESC}P");
  Set(IDC_DEVICE_AFTER_RECORD, L"{ACK}");
  SetHotkey(IDC_DEVICE_PROMPT_HOTKEY, ctrlF9);
  SetHotkey(IDC_DEVICE_PAUSE_HOTKEY, VK_F8);
  Set(IDC_DEVICE_REPEAT, L"3000");
  ui::PressButton(dialog, IDOK);
  ASSERT_TRUE(ui::WaitForWindowGone(dialog));
  EXPECT_EQ(DeviceString("Prompt"), "SI{CR}{LF}");
  EXPECT_EQ(DeviceString("AtStart"), "{ESC}P");
  EXPECT_EQ(DeviceString("AfterRecord"), "{ACK}");
  EXPECT_EQ(DeviceDWord(kDevicePath, "PromptHotkey"), ctrlF9);
  EXPECT_EQ(DeviceDWord(kDevicePath, "PromptEveryMs"), 500u);
  EXPECT_EQ(DeviceDWord(kDevicePath, "PauseHotkey"), static_cast<DWORD>(VK_F8));
  EXPECT_EQ(DeviceDWord("Software\\Talvik\\TV-SERKEY\\Options", "RepeatWithinMs"), 3000u);

  ASSERT_NE(Open(), nullptr) << "the saved values are shown again";
  EXPECT_EQ(ui::WindowTextW(ui::Child(dialog, IDC_DEVICE_EVERY)), "500");
  EXPECT_EQ(SendMessageW(ui::Child(dialog, IDC_DEVICE_PAUSE_HOTKEY), HKM_GETHOTKEY, 0, 0), VK_F8);
  Set(IDC_DEVICE_PROMPT, L"changed");
  ui::PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(ui::WaitForWindowGone(dialog));
  EXPECT_EQ(DeviceString("Prompt"), "SI{CR}{LF}") << "Cancel saves nothing";
}

}  // namespace
