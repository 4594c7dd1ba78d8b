// Talking to the device end to end: the "Device..." dialog as a user drives it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "platform/handles.h"
#include "platform/hotkey.h"
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


void WriteDevice(const char* name, const std::string& text) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kDevicePath, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}
void WriteDWord(const char* path, const char* name, DWORD value) {
  RegSetKeyValueA(HKEY_CURRENT_USER, path, name, REG_DWORD, &value, sizeof value);
}
constexpr const char* kOptionsPath = "Software\\Talvik\\TV-SERKEY\\Options";
constexpr DWORD kCtrlF9 = (HOTKEYF_CONTROL << 8) | VK_F9;
constexpr DWORD kCtrlF8 = (HOTKEYF_CONTROL << 8) | VK_F8;

// What the device is sent, read on a second handle of its end of the cable.
class DeviceEar {
 public:
  // purge: what an earlier program sent is not this one's.
  explicit DeviceEar(const char* port, bool purge = true) {
    handle_.Reset(CreateFileA(port, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    COMMTIMEOUTS timeouts{0, 0, 100, 0, 0};
    if (!handle_) return;
    SetCommTimeouts(handle_.Get(), &timeouts);
    if (purge) PurgeComm(handle_.Get(), PURGE_RXCLEAR);
  }
  // Everything that arrives within `ms`; `times` gets each piece's arrival.
  std::string Hear(DWORD ms, std::vector<ULONGLONG>* times = nullptr) {
    std::string heard;
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
      char buffer[256];
      DWORD got = 0;
      if (!ReadFile(handle_.Get(), buffer, sizeof buffer, &got, nullptr)) break;
      if (got > 0 && times != nullptr) times->push_back(GetTickCount64());
      heard.append(buffer, got);
    }
    return heard;
  }
  // Waits until `wanted` has been heard; what was heard up to then.
  std::string HearUntil(const std::string& wanted, DWORD ms) {
    std::string heard;
    const ULONGLONG end = GetTickCount64() + ms;
    while (heard.find(wanted) == std::string::npos && GetTickCount64() < end) heard += Hear(100);
    return heard;
  }

 private:
  FileHandle handle_;
};

void PressHotkey(WORD modifier, WORD key) {
  INPUT keys[4] = {};
  const WORD order[4] = {modifier, key, key, modifier};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, keys, sizeof(INPUT));
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A balance asked every half second; its answer typed through a rule.
class Balance : public e2e::RunningProgram {
 protected:
  void BeforeStart() override {
    WriteDevice("Prompt", "SI{CR}{LF}");
    WriteDWord(kDevicePath, "PromptEveryMs", 500);
    WriteDevice("AtStart", "{ESC}R");
    WriteDevice("AfterRecord", "{ACK}");
    WriteDWord(kOptionsPath, "TypeText", 1);
    const std::string rule = "Software\\Talvik\\TV-SERKEY\\Rules\\1";
    for (auto [name, value] : {std::pair{"Match", R"(S S\s+(\d+\.\d+) g)"}, std::pair{"Type", "$1{TAB}"}}) {
      RegSetKeyValueA(HKEY_CURRENT_USER, rule.c_str(), name, REG_SZ, value, static_cast<DWORD>(strlen(value) + 1));
    }
  }
  DeviceEar ear{e2e::kDevicePort};
};

TEST_F(Balance, AskedAtTheIntervalAnswerTypedAcknowledgedAndStopEndsThePrompts) {
  std::vector<ULONGLONG> times;
  const std::string heard = ear.Hear(2600, &times);
  ASSERT_EQ(heard.rfind("\x1BR", 0), 0u) << "the start text first: " << e2e::Bytes({heard.begin(), heard.end()});
  const size_t prompts = Count(heard, "SI\r\n");
  std::printf("[ figure ] %zu prompts in 2.6 s at 500 ms; pieces at", prompts);
  for (ULONGLONG t : times) std::printf(" +%llu", t - times.front());
  std::printf(" ms\n");
  EXPECT_GE(prompts, 4u);
  EXPECT_LE(prompts, 6u);
  EXPECT_EQ(heard.size(), 2 + 4 * prompts) << "nothing but the prompts";

  SendAndCollect("S S      12.34 g\r\n", 6);
  EXPECT_EQ(target.Text(), "12.34\t");
  EXPECT_NE(ear.HearUntil("\x06", 3000).find('\x06'), std::string::npos) << "the record acknowledged";

  program.ClickStartStop();
  ASSERT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_BUTTON_STARTSTOP) == "Start"; }));
  ear.Hear(300);
  EXPECT_EQ(ear.Hear(1500), "") << "no prompt after Stop";
}

TEST_F(Balance, SendNowShowsWhatTheDeviceAnsweredAsTextAndHex) {
  ear.Hear(300);
  PostMessageA(program.Main(), WM_SYSCOMMAND, IDM_DEVICE, 0);
  HWND dialog = ui::WaitForWindowTitled(program.Pid(), "Device");
  ASSERT_NE(dialog, nullptr);
  SendMessageW(ui::Child(dialog, IDC_DEVICE_PROMPT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"P{CR}"));
  ui::PressButton(dialog, IDC_DEVICE_SEND_NOW);
  EXPECT_NE(ear.HearUntil("P\r", 3000).find("P\r"), std::string::npos) << "the field's prompt, not the saved one";
  ASSERT_TRUE(device.Send("S S 1.5 g\r\n"));
  auto answer = [&] { return ui::WindowTextW(ui::Child(dialog, IDC_DEVICE_ANSWER)); };
  EXPECT_TRUE(ui::WaitUntil([&] { return answer() == "S S 1.5 g{CR}{LF}"; }, 3000)) << answer();
  EXPECT_EQ(ui::WindowTextW(ui::Child(dialog, IDC_DEVICE_ANSWER_HEX)), "53 20 53 20 31 2E 35 20 67 0D 0A");
  ui::PressButton(dialog, IDCANCEL);
  EXPECT_TRUE(ui::WaitForWindowGone(dialog));
}

// The prompt and the pause on hotkeys, pressed as a user does.
class Hotkeys : public e2e::RunningProgram {
 protected:
  void BeforeStart() override {
    WriteDevice("Prompt", "SI{CR}{LF}");
    WriteDWord(kDevicePath, "PromptHotkey", kCtrlF9);
    WriteDWord(kDevicePath, "PauseHotkey", kCtrlF8);
    WriteDWord(kOptionsPath, "TypeText", 1);
  }
  DeviceEar ear{e2e::kDevicePort};
};

TEST_F(Hotkeys, ThePromptsHotkeyAsksThePauseHotkeyStopsAndRestartsTypingAndStopLetsThemGo) {
  EXPECT_EQ(ear.Hear(500), "") << "no prompt before the key";
  PressHotkey(VK_CONTROL, VK_F9);
  EXPECT_EQ(ear.HearUntil("SI\r\n", 5000), "SI\r\n");

  PressHotkey(VK_CONTROL, VK_F8);
  ui::PumpMessages(500);
  ASSERT_TRUE(device.Send("AB\r"));
  ui::PumpMessages(1000);
  // The hotkeys' Ctrl reaches the target as a key of its own; it types nothing.
  EXPECT_EQ(target.Text(), "") << "paused: read and dropped";
  EXPECT_NE(program.ControlText(IDC_STATUS_TEXT).find("paused: 3 keys dropped"), std::string::npos)
      << program.ControlText(IDC_STATUS_TEXT);
  PressHotkey(VK_CONTROL, VK_F8);
  ui::PumpMessages(500);
  SendAndCollect("C\r", target.Keys().size() + 2);
  EXPECT_EQ(target.Text(), "C\r\n");

  program.ClickStartStop();
  ASSERT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_BUTTON_STARTSTOP) == "Start"; }));
  for (DWORD form : {kCtrlF9, kCtrlF8}) {
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, HotkeyModifiers(form, false), form & 0xFF)) << "let go at Stop: " << form;
    UnregisterHotKey(nullptr, 1);
  }
}

// A combination this test holds is another program's to the one under test.
class HeldHotkey : public Hotkeys {
 protected:
  void BeforeStart() override {
    Hotkeys::BeforeStart();
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F9));
  }
  void TearDown() override {
    UnregisterHotKey(nullptr, 1);
    Hotkeys::TearDown();
  }
};

TEST_F(HeldHotkey, IsReportedAndItsKeyAsksNothing) {
  std::string balloon;
  ui::WaitUntil([&] {
    for (HWND h : ui::TopLevelWindows(0, [](HWND w) { return IsWindowVisible(w) && ui::ClassName(w) == "tooltips_class32"; })) {
      const std::string text = ui::WindowTextW(h);
      if (text.find("already used") != std::string::npos) balloon = text;
    }
    return !balloon.empty();
  }, 5000);
  EXPECT_NE(balloon.find("Device value PromptHotkey not used: Ctrl+F9 is already used by another program."),
            std::string::npos) << balloon;
  PressHotkey(VK_CONTROL, VK_F9);
  EXPECT_EQ(ear.Hear(1000), "");
  PressHotkey(VK_CONTROL, VK_F8);
  ui::PumpMessages(300);
  ASSERT_TRUE(device.Send("X\r"));
  ui::PumpMessages(1000);
  EXPECT_EQ(target.Text(), "") << "the other hotkey is still the program's";
}

class Repeats : public e2e::RunningProgram {
 protected:
  void BeforeStart() override {
    WriteDWord(kOptionsPath, "TypeText", 1);
    WriteDWord(kOptionsPath, "RepeatWithinMs", 1500);
  }
};

TEST_F(Repeats, ARecordRepeatedWithinTheTimeIsDroppedAndADifferentOneTyped) {
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(device.Send("CARD1\r"));
    ui::PumpMessages(300);
  }
  SendAndCollect("CARD2\r", 12);
  EXPECT_EQ(target.Text(), "CARD1\r\nCARD2\r\n");
  EXPECT_NE(program.ControlText(IDC_STATUS_TEXT).find("(2 repeats dropped)"), std::string::npos)
      << program.ControlText(IDC_STATUS_TEXT);
  ui::PumpMessages(1600);
  SendAndCollect("CARD2\r", 18);
  EXPECT_EQ(target.Text(), "CARD1\r\nCARD2\r\nCARD2\r\n") << "after the time the same record is typed again";
}

// The start text again when a lost port is back.
class StartText : public e2e::RunningProgram {
 protected:
  StartText() : RunningProgram("COM3", "\\\\.\\COM4") {}
  void BeforeStart() override { WriteDevice("AtStart", "{ESC}R"); }
  std::optional<DeviceEar> ear{std::in_place, "\\\\.\\COM4"};
};

TEST_F(StartText, IsSentAtStartAndWhenALostPortIsBack) {
  EXPECT_EQ(ear->HearUntil("\x1BR", 3000), "\x1BR");
  ear.reset();
  ASSERT_TRUE(e2e::UnplugCable("COM3"));
  ASSERT_TRUE(ui::WaitUntil([&] { return program.ControlText(IDC_STATUS_TEXT) == "Waiting for COM3..."; }, 15000));
  ASSERT_TRUE(e2e::ReplugCable("COM3"));
  // The cable is new: nothing earlier to purge, and the port may be back already.
  DeviceEar back("\\\\.\\COM4", false);
  EXPECT_EQ(back.HearUntil("\x1BR", 15000), "\x1BR");
}

}  // namespace
